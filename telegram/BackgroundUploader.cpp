#include "BackgroundUploader.h"

#include "NetworkSession.h"
#include "PrivateTempFolder.h"
#include "StoreError.h"

#include <QFile>
#include <QTemporaryFile>
#include <QTimer>
#include <memory>
#include <QtConcurrent/QtConcurrentRun>
#include <QCoro/QCoroFuture>

using namespace Qt::StringLiterals;

namespace {

struct BodyFile {
    QString path;
    QString error;
};

// Runs in a worker: no shared state, only the folder and the bytes.
BodyFile writeBodyFile(const QByteArray &body)
{
    try {
        QTemporaryFile file(PrivateTempFolder::fileTemplate(BackgroundUploader::filePrefix));
        if (!file.open())
            return {{}, file.errorString()};
        if (file.write(body) != body.size() || !file.flush())
            return {{}, file.errorString()};
        file.setAutoRemove(false);
        return {file.fileName(), {}};
    } catch (const StoreError &error) {
        return {{}, error.message()};
    }
}

// Removes the body file when the upload's coroutine ends, on every path.
class RemovedAtEnd {
public:
    explicit RemovedAtEnd(QString path) : m_path(std::move(path)) {}
    ~RemovedAtEnd() { QFile::remove(m_path); }
    RemovedAtEnd(const RemovedAtEnd &) = delete;
    RemovedAtEnd &operator=(const RemovedAtEnd &) = delete;

private:
    QString m_path;
};

} // namespace

const QString BackgroundUploader::filePrefix = u"tg-upload-"_s;

BackgroundUploader::BackgroundUploader()
{
    // Best effort: a folder that cannot be made fails each upload with its own error.
    try {
        PrivateTempFolder::sweep(filePrefix, leftoverAge);
    } catch (const StoreError &) {
    }
}

BackgroundUploader &BackgroundUploader::shared()
{
    static BackgroundUploader uploader;
    return uploader;
}

QCoro::Task<BotAnswer> BackgroundUploader::upload(QNetworkRequest request, QByteArray body) const
{
    const auto timeout = m_resourceTimeout;
    const BodyFile written = co_await QtConcurrent::run(writeBodyFile, body);
    if (written.path.isEmpty())
        throw StoreError(u"Cannot write the upload body: %1"_s.arg(written.error));
    const RemovedAtEnd removal(written.path);
    body.clear();

    auto file = std::make_unique<QFile>(written.path);
    if (!file->open(QIODevice::ReadOnly))
        throw StoreError(u"Cannot read the upload body back: %1"_s.arg(file->errorString()));
    QNetworkReply *reply = NetworkSession::shared().post(request, file.get());
    file.release()->setParent(reply);
    QTimer::singleShot(timeout, reply, [reply] { reply->abort(); });
    co_return co_await BotAnswer::of(reply);
}
