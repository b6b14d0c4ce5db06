#include "StreamReader.h"

#include "StreamingOrigin.h"

namespace {

constexpr qint64 socketBuffer = 1024 * 1024;

} // namespace

StreamReader::StreamReader(const QUrl &url, QObject *parent) : QObject(parent)
{
    m_socket.setReadBufferSize(socketBuffer);
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, int(socketBuffer));
    connect(&m_socket, &QTcpSocket::readyRead, this, &StreamReader::readMore);
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        readMore();
        m_finished = true;
        emit finished();
    });
    m_socket.connectToHost(url.host(), quint16(url.port()));
    m_socket.write("GET " + url.path(QUrl::FullyEncoded).toLatin1() +
                   " HTTP/1.1\r\nHost: " + url.host().toLatin1() + "\r\n\r\n");
}

void StreamReader::resume()
{
    m_paused = false;
    readMore();
}

void StreamReader::readMore()
{
    if (m_paused)
        return;
    const QByteArray bytes = m_socket.readAll();
    if (m_headDone) {
        take(bytes);
        return;
    }
    m_head += bytes;
    const qsizetype end = m_head.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    m_headDone = true;
    take(m_head.mid(end + 4));
    m_head.clear();
}

void StreamReader::take(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes.at(i) != StreamingOrigin::byteAt(m_received + i))
            m_damaged = true;
    m_received += bytes.size();
}
