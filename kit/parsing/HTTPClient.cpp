#include "HTTPClient.h"

#include "CookieVault.h"
#include "NetworkError.h"
#include "ParseError.h"
#include "Platform.h"

namespace {

const QByteArray kAcceptLanguage = QByteArrayLiteral("zh-CN,zh;q=0.9,en;q=0.8");

} // namespace

HTTPClient::HTTPClient() : HTTPClient(&NetworkSession::shared()) {}

HTTPClient::HTTPClient(NetworkSession *session) : m_session(session) {}

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
    return NetworkSession::isWebScheme(url);
}

void HTTPClient::requireWebScheme(const QUrl &url)
{
    if (!isWebScheme(url))
        throw NetworkError(NetworkError::Kind::unsupportedScheme, url.toString());
}

// Those of the platform the link belongs to, also when the link is on a
// host without a cookie of its own (a short link).
QStringList HTTPClient::cookieDomains(const QUrl &url)
{
    return CookieVault::domains(Platform::detect(url));
}

bool HTTPClient::cookieMayFollow(const QUrl &origin, const QUrl &target)
{
    return NetworkSession::cookieMayFollow(origin, target, cookieDomains(origin));
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

NetworkRequest HTTPClient::request(const QUrl &url, const Headers &headers, const QString &ua) const
{
    NetworkRequest request;
    request.url = url;
    request.headers = {{"User-Agent", ua.toUtf8()}, {"Accept-Language", kAcceptLanguage}};
    for (auto it = headers.constBegin(); it != headers.constEnd(); ++it)
        request.headers.append({it.key().toUtf8(), it.value().toUtf8()});
    request.idleTimeout = m_timeout;
    request.deadline = std::max(deadline, m_timeout);
    request.bodyLimit = m_bodyLimit;
    request.cookieDomains = cookieDomains(url);
    return request;
}

QCoro::Task<HTTPClient::Response> HTTPClient::fetch(HTTPClient client, QUrl url, Headers headers, QString ua)
{
    if (!client.m_session)
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("no network session"));
    const Response response = co_await client.m_session->send(client.request(url, headers, ua));
    if (response.statusCode < 200 || response.statusCode > 399)
        throw ParseError::badResponse(response.statusCode);
    co_return response;
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
