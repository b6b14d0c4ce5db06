#include "MediaRelay.h"

#include "Cancellation.h"
#include "DetachedTask.h"
#include "KitLog.h"
#include "NetworkSession.h"

#include <QRegularExpression>
#include <QTcpSocket>
#include <QUuid>

namespace {

// A player's request head is a few hundred bytes; anything this long is no player.
constexpr qsizetype maxHeadSize = 16 * 1024;

// Headers of the remote answer that tell the player what it gets.
const QList<QByteArray> passedHeaders{"Content-Type",  "Content-Length", "Content-Range",
                                      "Accept-Ranges", "Last-Modified",  "ETag"};

// Writes the body to the player's connection as it arrives; a closed
// connection refuses it, which ends the transfer. What waits to go out to the
// player counts as waiting here, so a player that pauses holds the download
// back instead of the whole file gathering in memory.
class SocketSink : public QIODevice {
public:
    explicit SocketSink(QPointer<QTcpSocket> socket) : m_socket(std::move(socket))
    {
        open(WriteOnly);
        if (m_socket)
            connect(m_socket, &QTcpSocket::bytesWritten, this, &QIODevice::bytesWritten);
    }

    qint64 bytesToWrite() const override { return m_socket ? m_socket->bytesToWrite() : 0; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
            return -1;
        return m_socket->write(data, size);
    }

private:
    QPointer<QTcpSocket> m_socket;
};

QByteArray responseHead(int status, const QList<QNetworkReply::RawHeaderPair> &headers)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " Relayed\r\n";
    // A body Qt has decoded is no longer as long as the server said.
    const bool decoded = std::any_of(headers.cbegin(), headers.cend(), [](const auto &header) {
        return header.first.compare("Content-Encoding", Qt::CaseInsensitive) == 0;
    });
    for (const auto &header : headers) {
        const QByteArray &name = header.first;
        const bool passed =
            std::any_of(passedHeaders.cbegin(), passedHeaders.cend(),
                        [&](const QByteArray &kept) { return kept.compare(name, Qt::CaseInsensitive) == 0; });
        if (passed && !(decoded && name.compare("Content-Length", Qt::CaseInsensitive) == 0))
            head += name + ": " + header.second + "\r\n";
    }
    return head + "Connection: close\r\n\r\n";
}

// The target and Range of a request head; an empty target when it is no GET.
std::pair<QByteArray, QByteArray> targetAndRange(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    if (request.size() != 3 || request.at(0) != "GET")
        return {};
    static const QRegularExpression range(QStringLiteral("^range:\\s*(bytes=[0-9,\\- ]+)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (const QByteArray &line : lines) {
        const QRegularExpressionMatch match = range.match(QString::fromLatin1(line.trimmed()));
        if (match.hasMatch())
            return {request.at(1), match.captured(1).toLatin1()};
    }
    return {request.at(1), {}};
}

} // namespace

MediaRelay::MediaRelay(NetworkRequest request, QObject *parent)
    : QObject(parent), m_request(std::move(request)),
      m_path(QLatin1Char('/') + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper())
{
    connect(&m_server, &QTcpServer::newConnection, this, &MediaRelay::accept);
    if (!m_server.listen(QHostAddress::LocalHost))
        qCWarning(tamselLog) << "media relay cannot listen:" << m_server.errorString();
}

MediaRelay::~MediaRelay()
{
    for (const auto &transfer : m_transfers)
        if (const auto cancellation = transfer.lock())
            cancellation->cancel();
}

QUrl MediaRelay::url() const
{
    if (!m_server.isListening())
        return {};
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(m_path));
}

void MediaRelay::accept()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, head] {
            head->append(socket->readAll());
            if (head->contains("\r\n\r\n")) {
                socket->disconnect(this);
                answer(socket, *head);
            } else if (head->size() > maxHeadSize) {
                socket->abort();
            }
        });
    }
}

void MediaRelay::answer(QTcpSocket *socket, const QByteArray &head)
{
    const auto [target, range] = targetAndRange(head);
    if (target != m_path.toLatin1()) {
        socket->write(responseHead(target.isEmpty() ? 405 : 404, {}));
        socket->disconnectFromHost();
        return;
    }
    NetworkRequest request = m_request;
    if (!range.isEmpty())
        request.headers.append({"Range", range});
    auto cancellation = std::make_shared<Cancellation>();
    connect(socket, &QTcpSocket::disconnected, cancellation.get(), &Cancellation::cancel);
    request.cancellation = cancellation;
    std::erase_if(m_transfers, [](const auto &transfer) { return transfer.expired(); });
    m_transfers.push_back(cancellation);
    DetachedTask::start(relay(std::move(request), socket, std::move(cancellation)),
                        QStringLiteral("media relay"), tamselLog());
}

QCoro::Task<> MediaRelay::relay(NetworkRequest request, QPointer<QTcpSocket> socket,
                                std::shared_ptr<Cancellation> cancellation)
{
    SocketSink sink(socket);
    bool headSent = false;
    const auto sendHead = [&](int status, const QList<QNetworkReply::RawHeaderPair> &headers) {
        headSent = true;
        if (socket)
            socket->write(responseHead(status, headers));
    };
    try {
        const NetworkResponse response =
            co_await NetworkSession::shared().download(std::move(request), &sink, {}, sendHead);
        if (!headSent)
            sendHead(response.statusCode, response.headers);
    } catch (const NetworkError &error) {
        // The player closing its connection (it does on every seek) is no failure.
        if (!cancellation->isCancelled())
            qCInfo(tamselLog) << "media relay failed:" << error.what();
        if (!headSent)
            sendHead(502, {});
    }
    if (socket)
        socket->disconnectFromHost();
}
