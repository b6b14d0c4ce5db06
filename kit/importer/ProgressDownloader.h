#pragma once

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QPointer>
#include <QTemporaryFile>
#include <QCoro/QCoroTask>
#include <functional>
#include <memory>
#include <stop_token>

// The engine behind media downloads: streams a response body into a "dl-"
// file in the private temporary folder, so a large video never sits in
// memory, and reports the bytes written as they land on disk.
class ProgressDownloader {
public:
    // Bytes written so far and bytes expected (-1 when the server named no length).
    using Progress = std::function<void(qint64 written, qint64 expected)>;
    // Removed from disk when the handle goes, on every path.
    using File = std::unique_ptr<QTemporaryFile>;

    struct Download {
        // Holds the body of a 2xx answer; empty for any other status.
        File file;
        int statusCode = 0;
    };

    static inline const QString filePrefix = QStringLiteral("dl-");
    // Unread bytes the transport may hold before it waits for the file.
    static constexpr qint64 readBufferSize = 1024 * 1024;

    // On the main thread's network session; removes files a crashed run left behind.
    static ProgressDownloader &shared();
    explicit ProgressDownloader(QNetworkAccessManager *session);

    // Follows redirects itself, over http and https only. Throws NetworkError
    // for the transport (kind other with detail "cancelled" once `stop` is
    // requested) and for a body that ends short of its announced length.
    QCoro::Task<Download> download(QNetworkRequest request, Progress progress = {},
                                   std::stop_token stop = {}) const;

private:
    QPointer<QNetworkAccessManager> m_session;
};
