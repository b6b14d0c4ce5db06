#include "NetworkSession.h"

#include "Cancellation.h"
#include "NetworkError.h"
#include "RefusedReply.h"
#include "ReplyWatch.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCoro/QCoroNetworkReply>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QMutex>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QPointer>
#include <QSslConfiguration>
#include <QThread>
#include <algorithm>
#include <memory>

namespace {

QMutex &trustLock()
{
    static QMutex lock;
    return lock;
}

QList<QSslCertificate> &extraCertificates()
{
    static QList<QSslCertificate> certificates;
    return certificates;
}

QPointer<QObject> &mainThreadManager()
{
    static QPointer<QObject> manager;
    return manager;
}

void deleteMainThreadManager()
{
    delete mainThreadManager();
}

// Ties a new manager's life to its thread: the application owns the main
// thread's manager, any other thread's goes when that thread finishes.
void bindToThread(QObject *manager)
{
    QThread *thread = QThread::currentThread();
    QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == thread) {
        manager->setParent(app);
        // Deleted before the application starts to go, not among its
        // children: closing its cached TLS connections needs a whole one.
        mainThreadManager() = manager;
        qAddPostRoutine(deleteMainThreadManager);
    } else {
        QObject::connect(thread, &QThread::finished, manager, &QObject::deleteLater);
    }
}

// Keeps nothing and gives nothing: cookies travel only as callers set them.
class NoCookieJar : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl &) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};

struct LaterDeleter {
    void operator()(QObject *object) const { object->deleteLater(); }
};
using ReplyHandle = std::unique_ptr<QNetworkReply, LaterDeleter>;

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isCredential(const QByteArray &header)
{
    return header.compare("Cookie", Qt::CaseInsensitive) == 0 ||
           header.compare("Authorization", Qt::CaseInsensitive) == 0;
}

bool withinDomain(const QString &host, QString domain)
{
    if (domain.startsWith(QLatin1Char('.')))
        domain.remove(0, 1);
    if (host.compare(domain, Qt::CaseInsensitive) == 0)
        return true;
    return QHostAddress(host).isNull() && host.endsWith(QLatin1Char('.') + domain, Qt::CaseInsensitive);
}

template <class T> T attributeOr(const QNetworkRequest &request, QNetworkRequest::Attribute code, T fallback)
{
    const QVariant value = request.attribute(code);
    return value.isValid() ? value.value<T>() : fallback;
}

ReplyWatch::Limits limitsOf(const QNetworkRequest &request)
{
    using std::chrono::milliseconds;
    const int idle = request.transferTimeout();
    return {
        idle > 0 ? milliseconds(idle) : NetworkRequest::defaultIdleTimeout,
        milliseconds(attributeOr<qint64>(request, NetworkSession::DeadlineAttribute,
                                         NetworkRequest::defaultDeadline.count())),
        attributeOr<qint64>(request, NetworkSession::BodyLimitAttribute, NetworkRequest::defaultBodyLimit)};
}

NetworkError::Kind kindOf(ReplyWatch::Reason reason)
{
    switch (reason) {
    case ReplyWatch::Reason::tooLarge: return NetworkError::Kind::tooLarge;
    case ReplyWatch::Reason::cancelled: return NetworkError::Kind::cancelled;
    case ReplyWatch::Reason::cannotWrite: return NetworkError::Kind::cannotWrite;
    case ReplyWatch::Reason::timedOut:
    case ReplyWatch::Reason::none: break;
    }
    return NetworkError::Kind::timedOut;
}

NetworkError::Kind transportKind(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError: return NetworkError::Kind::timedOut;
    case QNetworkReply::OperationCanceledError: return NetworkError::Kind::cancelled;
    case QNetworkReply::SslHandshakeFailedError: return NetworkError::Kind::insecureConnection;
    case QNetworkReply::ProtocolUnknownError: return NetworkError::Kind::unsupportedScheme;
    case QNetworkReply::UnknownNetworkError: return NetworkError::Kind::other;
    default: return NetworkError::Kind::cannotConnect;
    }
}

void throwIfFailed(const QNetworkReply &reply)
{
    if (const auto kind = NetworkSession::failureKind(reply))
        throw NetworkError(*kind, reply.errorString());
}

bool isRedirectAnswer(const QNetworkReply &reply)
{
    return isRedirect(reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt()) &&
           reply.hasRawHeader("Location");
}

// Whether the sink has more waiting to go out than it should hold: a slow
// reader at its far end must slow the transfer, not fill memory.
bool isBackedUp(const QIODevice &sink)
{
    return sink.bytesToWrite() > NetworkSession::sinkBacklogLimit;
}

// Streams the body of a final answer to the sink; the bodies of redirects are
// dropped. While the sink is backed up the reply is not read, so its bounded
// buffer fills and TCP holds the server back; the sink draining resumes it.
void streamBody(QNetworkReply *reply, QIODevice *sink, const NetworkSession::Progress &progress,
                NetworkSession::Answer answer)
{
    // Without a bound Qt reads ahead of the sink and a large file piles up in memory.
    reply->setReadBufferSize(1024 * 1024);
    // Shared by the connections below, so the answer is told once. The last
    // bytes go out whatever the backlog: the reply ends with the transfer.
    const auto deliver = [reply, sink,
                          answer = std::make_shared<NetworkSession::Answer>(std::move(answer))](bool last) {
        if (!reply->isOpen())
            return;
        ReplyWatch *watch = ReplyWatch::of(reply);
        const bool hold = !last && isBackedUp(*sink);
        if (watch)
            watch->setHeld(hold);
        if (hold)
            return;
        const QByteArray chunk = reply->readAll();
        if (isRedirectAnswer(*reply) || chunk.isEmpty())
            return;
        if (*answer)
            std::exchange(*answer, {})(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                                       reply->rawHeaderPairs());
        if (sink->write(chunk) != chunk.size() && watch)
            watch->stop(ReplyWatch::Reason::cannotWrite);
    };
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [deliver] { deliver(false); });
    QObject::connect(sink, &QIODevice::bytesWritten, reply, [deliver] { deliver(false); });
    QObject::connect(reply, &QNetworkReply::finished, reply, [deliver] { deliver(true); });
    if (progress)
        QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                         [reply, progress](qint64 received, qint64 total) {
                             if (!isRedirectAnswer(*reply))
                                 progress(received, total);
                         });
}

void stopOnCancel(QNetworkReply *reply, const std::shared_ptr<Cancellation> &cancellation)
{
    ReplyWatch *watch = ReplyWatch::of(reply);
    if (!cancellation || !watch)
        return;
    QObject::connect(cancellation.get(), &Cancellation::cancelled, watch,
                     [watch] { watch->stop(ReplyWatch::Reason::cancelled); });
    if (cancellation->isCancelled())
        watch->stop(ReplyWatch::Reason::cancelled);
}

void throwIfOver(const NetworkRequest &request, const QDeadlineTimer &deadline)
{
    if (request.cancellation && request.cancellation->isCancelled())
        throw NetworkError(NetworkError::Kind::cancelled, request.url.toString());
    if (deadline.hasExpired())
        throw NetworkError(NetworkError::Kind::timedOut, request.url.toString());
}

QNetworkRequest hopRequest(const NetworkRequest &request, bool credentials, const QDeadlineTimer &deadline)
{
    QNetworkRequest hop(request.url);
    for (const auto &[name, value] : request.headers)
        if (credentials || !isCredential(name))
            hop.setRawHeader(name, value);
    hop.setTransferTimeout(int(request.idleTimeout.count()));
    hop.setAttribute(NetworkSession::DeadlineAttribute, std::max<qint64>(deadline.remainingTime(), 1));
    hop.setAttribute(NetworkSession::BodyLimitAttribute, request.bodyLimit);
    return hop;
}

QNetworkReply *startHop(QNetworkAccessManager &session, const NetworkRequest &request,
                        const QNetworkRequest &hop)
{
    if (request.multiPart)
        return session.sendCustomRequest(hop, request.method, request.multiPart);
    if (request.method == "GET" && request.body.isEmpty())
        return session.get(hop);
    return session.sendCustomRequest(hop, request.method, request.body);
}

// Points the request at a redirect's target. A 303, or a 301 or 302 after a
// POST, asks for the target without the body, as browsers do.
void redirect(NetworkRequest &request, const QUrl &target, int status)
{
    request.url = target;
    const bool toGet = status == 303 || ((status == 301 || status == 302) && request.method == "POST");
    if (!toGet || request.method == "HEAD")
        return;
    request.method = "GET";
    request.body.clear();
    request.multiPart = nullptr;
    request.headers.removeIf([](const auto &header) {
        return header.first.compare("Content-Type", Qt::CaseInsensitive) == 0 ||
               header.first.compare("Content-Length", Qt::CaseInsensitive) == 0;
    });
}

QCoro::Task<NetworkResponse> transfer(QNetworkAccessManager &session, NetworkRequest request, QIODevice *sink,
                                      NetworkSession::Progress progress, NetworkSession::Answer answer = {})
{
    const QDeadlineTimer deadline(request.deadline);
    const QUrl origin = request.url;
    bool credentials = true;
    for (int redirects = 0;; ++redirects) {
        if (!NetworkSession::isWebScheme(request.url))
            throw NetworkError(NetworkError::Kind::unsupportedScheme, request.url.toString());
        throwIfOver(request, deadline);
        credentials =
            credentials && NetworkSession::cookieMayFollow(origin, request.url, request.cookieDomains);
        const ReplyHandle reply(startHop(session, request, hopRequest(request, credentials, deadline)));
        streamBody(reply.get(), sink, progress, answer);
        stopOnCancel(reply.get(), request.cancellation);
        co_await reply.get();
        throwIfFailed(*reply);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool resendsParts = request.multiPart && (status == 307 || status == 308);
        if (isRedirectAnswer(*reply) && !resendsParts) {
            if (redirects == request.maxRedirects)
                throw NetworkError(NetworkError::Kind::tooManyRedirects, request.url.toString());
            redirect(request, request.url.resolved(QUrl(QString::fromUtf8(reply->rawHeader("Location")))),
                     status);
            continue;
        }
        co_return NetworkResponse{{}, status, request.url, reply->rawHeaderPairs()};
    }
}

} // namespace

NetworkSession::NetworkSession()
{
    setCookieJar(new NoCookieJar(this));
    setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

NetworkSession &NetworkSession::shared()
{
    thread_local QPointer<NetworkSession> manager;
    if (!manager) {
        manager = new NetworkSession;
        bindToThread(manager);
    }
    return *manager;
}

void NetworkSession::setExtraTrustedCertificates(const QList<QSslCertificate> &certificates)
{
    QMutexLocker locker(&trustLock());
    extraCertificates() = certificates;
}

QList<QSslCertificate> NetworkSession::extraTrustedCertificates()
{
    QMutexLocker locker(&trustLock());
    return extraCertificates();
}

bool NetworkSession::isWebScheme(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool NetworkSession::cookieMayFollow(const QUrl &origin, const QUrl &target, const QStringList &cookieDomains)
{
    const bool downgrade = origin.scheme().toLower() == QLatin1String("https") &&
                           target.scheme().toLower() != QLatin1String("https");
    if (downgrade)
        return false;
    if (origin.host().compare(target.host(), Qt::CaseInsensitive) == 0)
        return true;
    return isWithinDomains(target.host(), cookieDomains);
}

bool NetworkSession::isWithinDomains(const QString &host, const QStringList &domains)
{
    return std::any_of(domains.cbegin(), domains.cend(),
                       [&](const QString &domain) { return withinDomain(host, domain); });
}

QCoro::Task<NetworkResponse> NetworkSession::send(NetworkRequest request)
{
    QByteArray body;
    QBuffer buffer(&body);
    buffer.open(QIODevice::WriteOnly);
    NetworkResponse response = co_await transfer(*this, std::move(request), &buffer, {});
    response.body = std::move(body);
    co_return response;
}

QCoro::Task<NetworkResponse> NetworkSession::download(NetworkRequest request, QIODevice *sink,
                                                      Progress progress, Answer answer)
{
    return transfer(*this, std::move(request), sink, std::move(progress), std::move(answer));
}

QNetworkReply *NetworkSession::createRequest(Operation op, const QNetworkRequest &request,
                                             QIODevice *outgoingData)
{
    if (!isWebScheme(request.url()))
        return new RefusedReply(request, op, this);
    QNetworkReply *reply = QNetworkAccessManager::createRequest(op, ruledRequest(request), outgoingData);
    ReplyWatch::attach(reply, limitsOf(request));
    return reply;
}

QNetworkRequest NetworkSession::ruledRequest(const QNetworkRequest &request) const
{
    QNetworkRequest ruled(request);
    ruled.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    ruled.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    ruled.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // The watch keeps the idle time-out, so its reason can be told apart.
    ruled.setTransferTimeout(0);
    for (const QByteArray &name : request.rawHeaderList()) {
        QByteArray value = request.rawHeader(name);
        ruled.setRawHeader(name, value.replace('\r', QByteArray()).replace('\n', QByteArray()));
    }
    const QList<QSslCertificate> extra = extraTrustedCertificates();
    if (!extra.isEmpty() && request.url().scheme().toLower() == QLatin1String("https")) {
        QSslConfiguration ssl = ruled.sslConfiguration();
        ssl.addCaCertificates(extra);
        ruled.setSslConfiguration(ssl);
    }
    return ruled;
}

// Errors below 200 are the connection's; from 200 on Qt describes the content:
// for an HTTP error status that is just the status, which the caller judges,
// but with a good status (a body Qt cannot decompress) the body is unusable.
std::optional<NetworkError::Kind> NetworkSession::failureKind(const QNetworkReply &reply)
{
    if (const ReplyWatch *watch = ReplyWatch::of(&reply);
        watch && watch->reason() != ReplyWatch::Reason::none)
        return kindOf(watch->reason());
    const QNetworkReply::NetworkError error = reply.error();
    if (error == QNetworkReply::NoError)
        return std::nullopt;
    if (int(error) < 200 || error == QNetworkReply::ProtocolUnknownError)
        return transportKind(error);
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || status.toInt() < 400)
        return NetworkError::Kind::badContent;
    return std::nullopt;
}
