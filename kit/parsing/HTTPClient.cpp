#include "HTTPClient.h"

#include "NetworkError.h"
#include "NetworkSession.h"
#include "ParseError.h"
#include "Platform.h"

#include <QCoro/QCoroNetworkReply>
#include <memory>

namespace {

const QByteArray kAcceptLanguage = QByteArrayLiteral("zh-CN,zh;q=0.9,en;q=0.8");

struct LaterDeleter {
    void operator()(QObject *object) const { object->deleteLater(); }
};
using ReplyHandle = std::unique_ptr<QNetworkReply, LaterDeleter>;

// A pasted cookie may end in a line break; it must not split the request.
QByteArray headerValue(const QString &value)
{
    QByteArray bytes = value.toUtf8();
    bytes.replace('\r', QByteArray()).replace('\n', QByteArray());
    return bytes;
}

NetworkError::Kind transportKind(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::TimeoutError:
    // Qt ends a request whose transfer time-out expired by cancelling it; the
    // client cancels nothing else.
    case QNetworkReply::OperationCanceledError: return NetworkError::Kind::timedOut;
    case QNetworkReply::SslHandshakeFailedError: return NetworkError::Kind::insecureConnection;
    case QNetworkReply::ProtocolUnknownError: return NetworkError::Kind::unsupportedScheme;
    case QNetworkReply::UnknownNetworkError: return NetworkError::Kind::other;
    default: return NetworkError::Kind::cannotConnect;
    }
}

// Errors below 200 are the connection's or the proxy's; higher ones describe
// an HTTP answer, which the status code tells better.
bool isTransportError(QNetworkReply::NetworkError error)
{
    return error != QNetworkReply::NoError && int(error) < 200;
}

// Sends one request and waits for its end; transport failures and bodies over
// the limit are thrown.
QCoro::Task<ReplyHandle> finishedReply(QNetworkAccessManager &session, QNetworkRequest request, qint64 limit)
{
    ReplyHandle reply(session.get(request));
    // Shared, so a late signal never writes into a finished coroutine.
    const auto tooLarge = std::make_shared<bool>(false);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
                     [tooLarge, limit, r = reply.get()](qint64 received, qint64 total) {
                         if (!*tooLarge && (received > limit || total > limit)) {
                             *tooLarge = true;
                             r->abort();
                         }
                     });
    co_await reply.get();
    if (*tooLarge)
        throw NetworkError(NetworkError::Kind::tooLarge, request.url().toString());
    HTTPClient::requireTransportSuccess(*reply);
    co_return reply;
}

// The HTTP status; a response that is not HTTP fails like a bad one.
int statusOf(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        throw ParseError::badResponse(-1);
    return status.toInt();
}

} // namespace

QByteArray HTTPClient::Response::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

HTTPClient::HTTPClient() : HTTPClient(&NetworkSession::shared()) {}

HTTPClient::HTTPClient(QNetworkAccessManager *session) : m_session(session) {}

HTTPClient HTTPClient::withTimeout(std::chrono::milliseconds timeout) const
{
    HTTPClient copy(*this);
    copy.m_timeout = timeout;
    return copy;
}

HTTPClient HTTPClient::withBodyLimit(qint64 bytes) const
{
    HTTPClient copy(*this);
    copy.m_bodyLimit = bytes;
    return copy;
}

HTTPClient::Headers HTTPClient::removingHeader(const Headers &headers, const QString &name)
{
    Headers kept;
    for (auto it = headers.constBegin(); it != headers.constEnd(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) != 0)
            kept.insert(it.key(), it.value());
    return kept;
}

bool HTTPClient::isWebScheme(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void HTTPClient::requireWebScheme(const QUrl &url)
{
    if (!isWebScheme(url))
        throw NetworkError(NetworkError::Kind::unsupportedScheme, url.toString());
}

bool HTTPClient::isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

void HTTPClient::requireTransportSuccess(const QNetworkReply &reply)
{
    if (isTransportError(reply.error()))
        throw NetworkError(transportKind(reply.error()), reply.errorString());
}

bool HTTPClient::cookieMayFollow(const QUrl &origin, const QUrl &target)
{
    const bool downgrade = origin.scheme().toLower() == QLatin1String("https") &&
                           target.scheme().toLower() != QLatin1String("https");
    if (downgrade)
        return false;
    if (origin.host().compare(target.host(), Qt::CaseInsensitive) == 0)
        return true;
    const Platform platform = Platform::detect(origin);
    return platform != Platform::web && Platform::detect(target) == platform;
}

QCoro::Task<HTTPClient::Response> HTTPClient::get(const QUrl &url, const Headers &headers,
                                                  const QString &ua) const
{
    return fetch(*this, url, headers, ua);
}

QCoro::Task<HTTPClient::Page> HTTPClient::html(const QUrl &url, const Headers &headers,
                                               const QString &ua) const
{
    return fetchPage(*this, url, headers, ua);
}

QCoro::Task<JSON> HTTPClient::json(const QUrl &url, const Headers &headers, const QString &ua) const
{
    return fetchJSON(*this, url, headers, ua);
}

QCoro::Task<QUrl> HTTPClient::resolve(const QUrl &url, const QString &ua) const
{
    return fetchFinalURL(*this, url, ua);
}

QNetworkRequest HTTPClient::request(const QUrl &url, const Headers &headers, const QString &ua) const
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(int(m_timeout.count()));
    request.setRawHeader("User-Agent", headerValue(ua));
    request.setRawHeader("Accept-Language", kAcceptLanguage);
    for (auto it = headers.constBegin(); it != headers.constEnd(); ++it)
        request.setRawHeader(it.key().toUtf8(), headerValue(it.value()));
    return request;
}

QCoro::Task<HTTPClient::Response> HTTPClient::fetch(HTTPClient client, QUrl url, Headers headers, QString ua)
{
    requireWebScheme(url);
    if (!client.m_session)
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("no network session"));
    const QUrl origin = url;
    bool cookieAllowed = true;
    for (int redirects = 0;; ++redirects) {
        cookieAllowed = cookieAllowed && cookieMayFollow(origin, url);
        const Headers sent = cookieAllowed ? headers : removingHeader(headers, QStringLiteral("Cookie"));
        const ReplyHandle reply =
            co_await finishedReply(*client.m_session, client.request(url, sent, ua), client.m_bodyLimit);
        const int status = statusOf(*reply);
        const QByteArray location = reply->rawHeader("Location");
        if (isRedirect(status) && !location.isEmpty()) {
            if (redirects == maxRedirects)
                throw NetworkError(NetworkError::Kind::tooManyRedirects, url.toString());
            url = url.resolved(QUrl(QString::fromUtf8(location)));
            requireWebScheme(url);
            continue;
        }
        if (status < 200 || status > 399)
            throw ParseError::badResponse(status);
        co_return Response{reply->readAll(), status, url, reply->rawHeaderPairs()};
    }
}

QCoro::Task<HTTPClient::Page> HTTPClient::fetchPage(HTTPClient client, QUrl url, Headers headers, QString ua)
{
    const Response response = co_await fetch(client, url, headers, ua);
    co_return Page{QString::fromUtf8(response.body), response.url};
}

QCoro::Task<JSON> HTTPClient::fetchJSON(HTTPClient client, QUrl url, Headers headers, QString ua)
{
    const Response response = co_await fetch(client, url, headers, ua);
    co_return JSON::fromData(response.body);
}

QCoro::Task<QUrl> HTTPClient::fetchFinalURL(HTTPClient client, QUrl url, QString ua)
{
    const Response response = co_await fetch(client, url, {}, ua);
    co_return response.url;
}
