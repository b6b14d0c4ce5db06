#pragma once

#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A plain HTTP server on 127.0.0.1 that answers every GET with one large
// body of known bytes, written only as fast as the connection takes them, so
// it never holds more than a chunk and a slow client slows it down. It counts
// what it has handed to the connections.
class StreamingOrigin : public QObject {
    Q_OBJECT
public:
    explicit StreamingOrigin(qint64 size, QObject *parent = nullptr);

    QUrl url() const;
    qint64 size() const { return m_size; }
    // Body bytes handed over to the system for every connection so far.
    qint64 sent() const;
    // The body's byte at that offset.
    static char byteAt(qint64 offset) { return char(offset % 251); }

private:
    struct Stream {
        QTcpSocket *socket;
        qint64 offset = 0;
    };

    void accept();
    void writeMore(Stream &stream);

    qint64 m_size;
    QTcpServer m_server;
    QList<std::shared_ptr<Stream>> m_streams;
};
