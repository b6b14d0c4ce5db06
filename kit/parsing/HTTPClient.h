#pragma once

#include "JSON.h"
#include "NetworkSession.h"

#include <QByteArray>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QCoro/QCoroTask>
#include <chrono>

// The one client of page and API requests: every request carries the same
// time-out and language preference and goes through the session's rules
// (NetworkSession): only http and https, redirects followed with a sign-in
// cookie kept to its platform's cookie domains, time-outs, a body limit.
// Failures are thrown: ParseError::badResponse for an unusable status,
// NetworkError for the transport.
class HTTPClient {
public:
    using Headers = QMap<QString, QString>;
    using Response = NetworkResponse;

    struct Page {
        QString text;
        QUrl url;
    };

    static constexpr std::chrono::milliseconds defaultTimeout{20000};
    // However slowly bytes trickle in, a request ends after this.
    static constexpr std::chrono::milliseconds deadline{120000};
    // Larger bodies are refused: no page or API reply comes near it.
    static constexpr qint64 defaultBodyLimit = NetworkRequest::defaultBodyLimit;
    static constexpr int maxRedirects = NetworkRequest::defaultMaxRedirects;

    // Requests go through the calling thread's shared session unless another is given.
    HTTPClient();
    explicit HTTPClient(NetworkSession *session);

    // Copies with another idle time-out or body limit (tests use short ones).
    HTTPClient withTimeout(std::chrono::milliseconds timeout) const;
    HTTPClient withBodyLimit(qint64 bytes) const;

    // For the few requests that do not fit get(), such as a form POST.
    NetworkSession *session() const { return m_session; }
    std::chrono::milliseconds timeout() const { return m_timeout; }

    // `headers` are set after "User-Agent" (= ua) and "Accept-Language" and
    // replace them when named alike. A status from 200 to 399 is a success.
    QCoro::Task<Response> get(const QUrl &url, const Headers &headers, const QString &ua) const;
    // The body as UTF-8 text (invalid bytes become U+FFFD) and the final URL.
    QCoro::Task<Page> html(const QUrl &url, const Headers &headers, const QString &ua) const;
    // The body read as JSON (top-level fragments allowed); a body that is not
    // JSON throws JSONError.
    QCoro::Task<JSON> json(const QUrl &url, const Headers &headers, const QString &ua) const;
    // The URL the request ends at after redirects.
    QCoro::Task<QUrl> resolve(const QUrl &url, const QString &ua) const;

    // `headers` without any entry named `name` (case-insensitive).
    static Headers removingHeader(const Headers &headers, const QString &name);
    // Whether the link is http or https (any case): the only links fetched.
    static bool isWebScheme(const QUrl &url);
    // Throws NetworkError::unsupportedScheme unless the link is http or https.
    static void requireWebScheme(const QUrl &url);
    // Whether a sign-in cookie meant for `origin` may go along to `target`:
    // the same host, or a host of the cookie domains of the platform `origin`
    // belongs to, never to plain http from https.
    static bool cookieMayFollow(const QUrl &origin, const QUrl &target);
    // The cookie domains of the platform the link belongs to (its short-link
    // hosts included); empty for other links.
    static QStringList cookieDomains(const QUrl &url);

private:
    // Coroutines keep copies of their arguments, so a client or a URL that
    // goes out of scope while a request runs is no concern.
    static QCoro::Task<Response> fetch(HTTPClient client, QUrl url, Headers headers, QString ua);
    static QCoro::Task<Page> fetchPage(HTTPClient client, QUrl url, Headers headers, QString ua);
    static QCoro::Task<JSON> fetchJSON(HTTPClient client, QUrl url, Headers headers, QString ua);
    static QCoro::Task<QUrl> fetchFinalURL(HTTPClient client, QUrl url, QString ua);
    NetworkRequest request(const QUrl &url, const Headers &headers, const QString &ua) const;

    QPointer<NetworkSession> m_session;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    qint64 m_bodyLimit = defaultBodyLimit;
};
