#include "ProgressDownloader.h"

#include "NetworkError.h"
#include "PrivateTempFolder.h"

#include <chrono>

namespace {

// Older leftovers belong to no download still running.
constexpr std::chrono::hours leftoverAge{24};

} // namespace

ProgressDownloader &ProgressDownloader::shared()
{
    static ProgressDownloader *engine = [] {
        PrivateTempFolder::sweep(filePrefix, leftoverAge);
        return new ProgressDownloader(&NetworkSession::shared());
    }();
    return *engine;
}

ProgressDownloader::ProgressDownloader(NetworkSession *session) : m_session(session) {}

QCoro::Task<ProgressDownloader::Download> ProgressDownloader::download(NetworkRequest request,
                                                                       Progress progress) const
{
    if (!m_session)
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("no network session"));
    File file = std::make_unique<QTemporaryFile>(PrivateTempFolder::fileTemplate(filePrefix));
    if (!file->open())
        throw NetworkError(NetworkError::Kind::cannotWrite, file->errorString());
    const NetworkResponse response = co_await m_session->download(std::move(request), file.get(), progress);
    if (!file->flush())
        throw NetworkError(NetworkError::Kind::cannotWrite, file->errorString());
    co_return Download{std::move(file), response.statusCode};
}
