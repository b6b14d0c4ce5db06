#pragma once

#include "NetworkSession.h"

#include <QPointer>
#include <QTemporaryFile>
#include <QCoro/QCoroTask>
#include <memory>

// The engine behind media downloads: streams a response body into a "dl-"
// file in the private temporary folder under the session's network rules,
// so a large video never sits in memory, and reports the bytes as they come.
class ProgressDownloader {
public:
    // Bytes received so far and bytes expected (-1 when the server named no length).
    using Progress = NetworkSession::Progress;
    // Removed from disk when the handle goes, on every path.
    using File = std::unique_ptr<QTemporaryFile>;

    struct Download {
        // Holds the body of the final answer.
        File file;
        int statusCode = 0;
    };

    static inline const QString filePrefix = QStringLiteral("dl-");

    // On the main thread's network session; removes files a crashed run left behind.
    static ProgressDownloader &shared();
    explicit ProgressDownloader(NetworkSession *session);

    // Throws NetworkError for the transport, a cancellation included, and for
    // a body that ends short of its announced length.
    QCoro::Task<Download> download(NetworkRequest request, Progress progress = {}) const;

private:
    QPointer<NetworkSession> m_session;
};
