#include "FixtureServer.h"

#include "NetworkSession.h"

#include <QFile>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>
#include <stdexcept>
#include <utility>

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

QString routeKey(const QString &address, const QByteArray &target)
{
    return address + QLatin1Char(' ') + QString::fromUtf8(target);
}

} // namespace

QList<QByteArray> FixtureServer::Request::header(const QByteArray &name) const
{
    QList<QByteArray> values;
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            values.append(value);
    return values;
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

void FixtureServer::pointAt(Host role, const QString &address)
{
    HostTable::setOverride(role, address, listener(address).serverPort());
}

void FixtureServer::serve(const QString &address, const QString &pathAndQuery, const Reply &reply)
{
    listener(address);
    m_replies.insert(routeKey(address, pathAndQuery.toUtf8()), reply);
}

void FixtureServer::handle(const QString &address, const QString &path, Handler handler)
{
    listener(address);
    m_handlers.insert(routeKey(address, path.toUtf8()), std::move(handler));
}

void FixtureServer::hold(const QString &address, const QString &path)
{
    m_held.insert(routeKey(address, path.toUtf8()));
}

void FixtureServer::release()
{
    m_held.clear();
    for (const auto &answer : std::exchange(m_heldAnswers, {}))
        answer();
}

void FixtureServer::dropMidBody(const QString &address, const QString &path)
{
    listener(address);
    m_dropMidBody.insert(routeKey(address, path.toUtf8()));
}

FixtureServer::Reply FixtureServer::replyFor(const Request &request) const
{
    const QByteArray path = request.target.split('?').value(0);
    if (const auto handler = m_handlers.constFind(routeKey(request.address, path));
        handler != m_handlers.cend())
        return (*handler)(request);
    return m_replies.value(routeKey(request.address, request.target),
                           m_replies.value(routeKey(request.address, path),
                                           Reply{404, "not found", {{"Content-Type", "text/plain"}}}));
}

QSslServer &FixtureServer::listener(const QString &address)
{
    auto &server = m_listeners[address];
    if (server)
        return *server;
    server = std::make_unique<QSslServer>();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate());
    configuration.setPrivateKey(QSslKey(fixtureFile("server.key"), QSsl::Ec));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    server->setSslConfiguration(configuration);
    QObject::connect(
        server.get(), &QTcpServer::pendingConnectionAvailable, server.get(),
        [this, listening = server.get(), address] {
            // Sockets are children of the server, so they go with it.
            while (QTcpSocket *socket = listening->nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                const auto read = [this, socket, buffer, address] { answer(socket, *buffer, address); };
                QObject::connect(socket, &QTcpSocket::readyRead, socket, read);
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                read();
            }
        });
    if (!server->listen(QHostAddress(address)))
        throw std::runtime_error("fixture server cannot listen on " + address.toStdString());
    return *server;
}

// Answers once the request head ("GET /a HTTP/1.1\r\nName: value\r\n...") and body are in.
void FixtureServer::answer(QTcpSocket *socket, QByteArray &buffer, const QString &address)
{
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return;
    Request request{address, buffer.left(buffer.indexOf('\r')).split(' ').value(1), {}};
    for (const QByteArray &line : buffer.left(headEnd).split('\n').mid(1))
        if (const qsizetype colon = line.indexOf(':'); colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    if (m_dropMidBody.contains(routeKey(address, request.target.split('?').value(0))))
        return socket->abort();
    const qsizetype bodyLength = request.header("Content-Length").value(0).toLongLong();
    if (buffer.size() < headEnd + 4 + bodyLength)
        return;
    request.body = buffer.mid(headEnd + 4, bodyLength);
    buffer.clear();
    m_requests.append(request);

    const Reply reply = replyFor(request);
    if (reply.drop)
        return socket->abort();
    if (!m_held.contains(routeKey(address, request.target.split('?').value(0))))
        return sendLater(socket, reply);
    m_heldAnswers.append([socket = QPointer<QTcpSocket>(socket), reply] {
        if (socket)
            sendLater(socket, reply);
    });
}

void FixtureServer::sendLater(QTcpSocket *socket, const Reply &reply)
{
    if (reply.raw) {
        QTimer::singleShot(reply.delay, socket, [socket, reply] {
            socket->write(*reply.raw);
            socket->disconnectFromHost();
        });
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) +
                      " Fixture\r\nContent-Length: " + QByteArray::number(reply.body.size()) +
                      "\r\nConnection: close\r\n";
    for (const auto &[name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    head += "\r\n";
    QTimer::singleShot(reply.delay, socket, [socket, head, reply] { send(socket, head, reply); });
}

void FixtureServer::send(QTcpSocket *socket, const QByteArray &head, const Reply &reply)
{
    if (reply.trickle.count() <= 0) {
        socket->write(head + reply.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(head);
    auto *timer = new QTimer(socket);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, body = reply.body, sent = 0]() mutable {
        if (sent == body.size()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid(sent++, 1));
    });
    timer->start(reply.trickle);
}
