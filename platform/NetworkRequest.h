#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QUrl>
#include <chrono>
#include <memory>

class Cancellation;
class QHttpMultiPart;

// One request as NetworkSession::send and download carry it out, with the
// limits it must keep.
struct NetworkRequest {
    using HeaderList = QList<QPair<QByteArray, QByteArray>>;

    static constexpr std::chrono::milliseconds defaultIdleTimeout{60000};
    static constexpr std::chrono::milliseconds defaultDeadline{10 * 60000};
    static constexpr qint64 defaultBodyLimit = 32 * 1024 * 1024;
    static constexpr int defaultMaxRedirects = 16;

    QUrl url;
    QByteArray method = "GET";
    // Set in order: a header replaces an earlier one of the same name (any case).
    // Line breaks in values are dropped, so a pasted value cannot split the request.
    HeaderList headers;
    QByteArray body;
    // A multipart body instead of `body`; the caller keeps it alive until the
    // request ends. Such a request does not follow a 307 or 308 redirect, which
    // would have to send the parts again.
    QHttpMultiPart *multiPart = nullptr;

    // Longest wait for the next byte either way.
    std::chrono::milliseconds idleTimeout = defaultIdleTimeout;
    // Longest time for the whole request, redirects included.
    std::chrono::milliseconds deadline = defaultDeadline;
    // Longest body accepted, also when it is streamed to a device.
    qint64 bodyLimit = defaultBodyLimit;
    int maxRedirects = defaultMaxRedirects;
    // Domains, besides the request's own host, whose hosts a Cookie or
    // Authorization header may follow a redirect to: a sign-in cookie's platform.
    QStringList cookieDomains;
    std::shared_ptr<Cancellation> cancellation;
};
