#include "FixtureServer.h"

#include "NetworkSession.h"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>
#include <stdexcept>

namespace {

QByteArray fixtureFile(const char *name)
{
    QFile file(QStringLiteral(KEPSEL_FIXTURES_DIR "/tls/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test certificate file");
    return file.readAll();
}

QSslCertificate certificate()
{
    static const QSslCertificate certificate(fixtureFile("server.crt"));
    return certificate;
}

QSslConfiguration serverConfiguration()
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate());
    configuration.setPrivateKey(QSslKey(fixtureFile("server.key"), QSsl::Ec));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

QString routeKey(const QString &address, const QByteArray &target)
{
    return address + QLatin1Char(' ') + QString::fromUtf8(target);
}

QByteArray pathOf(const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return query < 0 ? target : target.left(query);
}

// Splits a complete request head ("GET /a HTTP/1.1\r\nName: value\r\n...").
FixtureServer::Request parseHead(const QByteArray &head)
{
    FixtureServer::Request request;
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    return request;
}

QByteArray responseBytes(const FixtureServer::Reply &reply)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(reply.status) + " Fixture\r\n";
    bytes += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    bytes += "Connection: close\r\n";
    for (const auto &[name, value] : reply.headers)
        bytes += name + ": " + value + "\r\n";
    return bytes + "\r\n" + reply.body;
}

} // namespace

QByteArray FixtureServer::Request::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool FixtureServer::Request::hasHeader(const QByteArray &name) const
{
    return headerNames().contains(name.toLower());
}

QList<QByteArray> FixtureServer::Request::headerNames() const
{
    QList<QByteArray> names;
    for (const auto &header : headers)
        names.append(header.first.toLower());
    return names;
}

FixtureServer::FixtureServer()
{
    NetworkSession::setExtraTrustedCertificates({certificate()});
}

FixtureServer::~FixtureServer()
{
    NetworkSession::setExtraTrustedCertificates({});
}

QString FixtureServer::origin(const QString &address)
{
    return QStringLiteral("https://%1:%2").arg(address).arg(listener(address).serverPort());
}

QUrl FixtureServer::url(const QString &address, const QString &pathAndQuery)
{
    return QUrl(origin(address) + pathAndQuery);
}

void FixtureServer::pointAt(Host role, const QString &address)
{
    HostTable::setOverride(role, address, listener(address).serverPort());
}

void FixtureServer::serve(const QString &address, const QString &pathAndQuery, const Reply &reply)
{
    listener(address);
    m_replies.insert(routeKey(address, pathAndQuery.toUtf8()), reply);
}

void FixtureServer::page(const QString &address, const QString &pathAndQuery, const QByteArray &html,
                         const QByteArray &contentType)
{
    serve(address, pathAndQuery, Reply{200, html, {{"Content-Type", contentType}}});
}

void FixtureServer::redirect(const QString &address, const QString &pathAndQuery, const QString &location,
                             int status)
{
    serve(address, pathAndQuery, Reply{status, {}, {{"Location", location.toUtf8()}}});
}

QSslServer &FixtureServer::listener(const QString &address)
{
    auto &slot = m_listeners[address];
    if (!slot) {
        slot = std::make_unique<QSslServer>();
        slot->setSslConfiguration(serverConfiguration());
        QSslServer *server = slot.get();
        QObject::connect(server, &QTcpServer::pendingConnectionAvailable, server,
                         [this, server] { accept(*server); });
        if (!server->listen(QHostAddress(address)))
            throw std::runtime_error("fixture server cannot listen on " + address.toStdString());
    }
    return *slot;
}

void FixtureServer::accept(QSslServer &server)
{
    const QString address = server.serverAddress().toString();
    while (QTcpSocket *socket = server.nextPendingConnection()) {
        QObject::connect(socket, &QTcpSocket::readyRead, socket,
                         [this, socket, address] { readFrom(socket, address); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
        readFrom(socket, address);
    }
}

void FixtureServer::readFrom(QTcpSocket *socket, const QString &address)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Request request = parseHead(buffer.left(headEnd));
    const qsizetype bodyLength = request.header("Content-Length").toLongLong();
    if (buffer.size() < headEnd + 4 + bodyLength)
        return;
    request.address = address;
    buffer.remove(0, headEnd + 4 + bodyLength);
    m_requests.append(request);
    answer(socket, request);
}

void FixtureServer::answer(QTcpSocket *socket, const Request &request)
{
    const Reply reply = replyFor(request);
    if (reply.drop) {
        socket->abort();
        return;
    }
    const QByteArray bytes = responseBytes(reply);
    QTimer::singleShot(reply.delay, socket, [socket, bytes] {
        socket->write(bytes);
        socket->disconnectFromHost();
    });
}

FixtureServer::Reply FixtureServer::replyFor(const Request &request) const
{
    const auto exact = m_replies.constFind(routeKey(request.address, request.target));
    if (exact != m_replies.constEnd())
        return *exact;
    return m_replies.value(routeKey(request.address, pathOf(request.target)),
                           Reply{404, "not found", {{"Content-Type", "text/plain"}}});
}
