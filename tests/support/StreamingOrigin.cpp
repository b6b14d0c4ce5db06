#include "StreamingOrigin.h"

#include <QTcpSocket>

namespace {

constexpr qint64 chunkSize = 1024 * 1024;

// Enough of the body's pattern to cut any chunk from, whatever its offset.
const QByteArray &pattern()
{
    static const QByteArray bytes = [] {
        QByteArray built(chunkSize + 251, Qt::Uninitialized);
        for (qsizetype i = 0; i < built.size(); ++i)
            built[i] = StreamingOrigin::byteAt(i);
        return built;
    }();
    return bytes;
}

} // namespace

StreamingOrigin::StreamingOrigin(qint64 size, QObject *parent) : QObject(parent), m_size(size)
{
    connect(&m_server, &QTcpServer::newConnection, this, &StreamingOrigin::accept);
    m_server.listen(QHostAddress::LocalHost);
}

QUrl StreamingOrigin::url() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/body").arg(m_server.serverPort()));
}

qint64 StreamingOrigin::sent() const
{
    qint64 total = 0;
    for (const auto &stream : m_streams)
        total += stream->offset - (stream->socket ? stream->socket->bytesToWrite() : 0);
    return total;
}

void StreamingOrigin::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        // The system's own buffer stays small too, so what was sent is close to what was taken.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, int(chunkSize));
        auto stream = std::make_shared<Stream>(Stream{socket});
        m_streams.append(stream);
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, head, stream] {
            if (head->contains("\r\n\r\n"))
                return;
            head->append(socket->readAll());
            if (!head->contains("\r\n\r\n"))
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: video/mp4\r\nContent-Length: " +
                          QByteArray::number(m_size) + "\r\nConnection: close\r\n\r\n");
            connect(socket, &QTcpSocket::bytesWritten, this, [this, stream] { writeMore(*stream); });
            writeMore(*stream);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket, stream] {
            stream->offset -= socket->bytesToWrite();
            stream->socket = nullptr;
            socket->deleteLater();
        });
    }
}

// Tops the connection up to one chunk waiting, never more.
void StreamingOrigin::writeMore(Stream &stream)
{
    if (!stream.socket || stream.socket->bytesToWrite() >= chunkSize)
        return;
    const qint64 length = std::min(chunkSize, m_size - stream.offset);
    if (length <= 0) {
        stream.socket->disconnectFromHost();
        return;
    }
    stream.socket->write(pattern().constData() + stream.offset % 251, length);
    stream.offset += length;
}
