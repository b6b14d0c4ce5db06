#pragma once

#include "NetworkError.h"
#include "NetworkRequest.h"
#include "NetworkResponse.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <functional>
#include <optional>

// The process's URL session: one QNetworkAccessManager per thread, all
// configured alike, and the network rules every request obeys, whether it is
// made through send() and download() or through the manager's own get(),
// post() and sendCustomRequest():
// - only http and https links are fetched; any other scheme fails with
//   ProtocolUnknownError without a byte sent;
// - no cookie jar: a caller's Cookie header is sent as given, cookies a server
//   sets are never kept or sent on;
// - Qt never follows a redirect itself (it would copy every header to the new
//   host): send() and download() follow them under the rules below, a plain
//   request sees the redirect answer;
// - a reply is aborted when no byte moves for its idle time-out, when its
//   deadline passes or when its body outgrows its limit (the request's
//   transfer time-out and the attributes below, else NetworkRequest's defaults).
// Every request also trusts the extra certificates set here (tests add their
// fixture server's).
class NetworkSession : public QNetworkAccessManager {
    Q_OBJECT
public:
    // Longest time for the reply in milliseconds (qint64).
    static constexpr auto DeadlineAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
    // Largest body in bytes (qint64).
    static constexpr auto BodyLimitAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 2);
    // While more than this waits in a download's sink (QIODevice::bytesToWrite),
    // the body is not read on; the sink's bytesWritten signal resumes it.
    static constexpr qint64 sinkBacklogLimit = 4 * 1024 * 1024;

    // Called with the body bytes received so far and the expected total (-1
    // when unknown), on the thread of the session.
    using Progress = std::function<void(qint64 received, qint64 total)>;
    // Called once with the final answer's status and headers, just before its
    // first body byte reaches the sink; never for an answer without a body.
    using Answer = std::function<void(int status, const QList<QNetworkReply::RawHeaderPair> &headers)>;

    // The calling thread's manager, created on first use; it lives as long as
    // the application (main thread) or the thread.
    static NetworkSession &shared();

    static void setExtraTrustedCertificates(const QList<QSslCertificate> &certificates);
    static QList<QSslCertificate> extraTrustedCertificates();

    // Carries out the request and returns the final answer with its body.
    // Redirects (301, 302, 303, 307, 308 with a Location) are followed up to
    // the request's limit, only to http and https links; a Cookie or
    // Authorization header goes along only to the same host or a host of the
    // request's cookie domains, never from https to http, and once dropped
    // stays dropped. 301, 302 and 303 turn a POST into a GET without body.
    // Any status is returned; failures throw NetworkError.
    QCoro::Task<NetworkResponse> send(NetworkRequest request);
    // The same, but the final answer's body is written to `sink` as it
    // arrives instead of being kept in memory (the response's body stays
    // empty). The sink must stay open until the task ends; the caller
    // flushes and closes it, and discards it on failure. A sink that holds
    // back (see sinkBacklogLimit) pauses the transfer without its idle
    // time-out running.
    QCoro::Task<NetworkResponse> download(NetworkRequest request, QIODevice *sink, Progress progress = {},
                                          Answer answer = {});

    // Whether a Cookie or Authorization header meant for `origin` may go to
    // `target`: the same host, or a host within the cookie domains (a domain
    // or any host under it) of the platform `origin` belongs to, and never
    // from https to http.
    static bool cookieMayFollow(const QUrl &origin, const QUrl &target, const QStringList &cookieDomains);
    // Whether the host is one of the domains or, unless it is an address, under one.
    static bool isWithinDomains(const QString &host, const QStringList &domains);
    static bool isWebScheme(const QUrl &url);
    // Why a finished reply of this session has no usable answer: its limits,
    // the connection, or a body that cannot be read; nothing for an answer,
    // whatever its HTTP status.
    static std::optional<NetworkError::Kind> failureKind(const QNetworkReply &reply);

protected:
    // For sessions that answer from memory (fuzzing) instead of the network.
    NetworkSession();

    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;

private:
    QNetworkRequest ruledRequest(const QNetworkRequest &request) const;
};
