#pragma once

#include <QTcpSocket>
#include <QUrl>

// A bare HTTP client that GETs one link and reads the body of a
// StreamingOrigin as it comes, checking every byte. It can stop reading for
// a while: its socket then takes no more than a small buffer, so the sender
// meets TCP's flow control as it would with a paused player.
class StreamReader : public QObject {
    Q_OBJECT
public:
    explicit StreamReader(const QUrl &url, QObject *parent = nullptr);

    void pause() { m_paused = true; }
    void resume();
    qint64 received() const { return m_received; }
    // Whether a body byte differed from the origin's.
    bool isDamaged() const { return m_damaged; }
    bool isFinished() const { return m_finished; }

signals:
    void finished();

private:
    void readMore();
    void take(const QByteArray &bytes);

    QTcpSocket m_socket;
    QByteArray m_head;
    bool m_headDone = false;
    bool m_paused = false;
    bool m_damaged = false;
    bool m_finished = false;
    qint64 m_received = 0;
};
