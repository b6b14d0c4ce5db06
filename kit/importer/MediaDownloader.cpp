#include "MediaDownloader.h"

#include "NetworkError.h"
#include "ParseError.h"
#include "ParsedMedia.h"

#include <QUrl>

namespace {

QUrl mediaURL(const QString &link)
{
    const QString normalized = ParsedMedia::normalizedLink(link);
    if (normalized.size() > MediaDownloader::maxLinkLength)
        throw ParseError::noURL();
    const QUrl url(normalized, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || (url.host().isEmpty() && NetworkSession::isWebScheme(url)))
        throw ParseError::noURL();
    if (!NetworkSession::isWebScheme(url))
        throw NetworkError(NetworkError::Kind::unsupportedScheme, url.toString());
    return url;
}

NetworkRequest mediaRequest(const QUrl &url, Platform platform, std::chrono::seconds timeout)
{
    NetworkRequest request;
    request.url = url;
    request.idleTimeout = timeout;
    request.deadline = MediaDownloader::deadline;
    request.bodyLimit = MediaDownloader::bodyLimit;
    // The platform's own headers may name the agent again (Douyin does).
    request.headers.append({"User-Agent", UserAgent::iPhone.toUtf8()});
    const QMap<QString, QString> headers = platform.mediaHeaders();
    for (auto it = headers.constBegin(); it != headers.constEnd(); ++it)
        request.headers.append({it.key().toUtf8(), it.value().toUtf8()});
    return request;
}

} // namespace

namespace MediaDownloader {

NetworkRequest request(const QString &link, Platform platform, std::chrono::seconds timeout)
{
    return mediaRequest(mediaURL(link), platform, timeout);
}

QCoro::Task<File> fetch(QString link, Platform platform, std::chrono::seconds timeout, Progress progress,
                        std::shared_ptr<Cancellation> cancellation)
{
    NetworkRequest request = MediaDownloader::request(link, platform, timeout);
    request.cancellation = std::move(cancellation);
    ProgressDownloader::Download download =
        co_await ProgressDownloader::shared().download(std::move(request), std::move(progress));
    if (download.statusCode < 200 || download.statusCode > 299)
        throw ParseError::badResponse(download.statusCode);
    co_return std::move(download.file);
}

QCoro::Task<File> fetchVideo(QString link, Platform platform, Progress progress,
                             std::shared_ptr<Cancellation> cancellation)
{
    return fetch(std::move(link), platform, videoTimeout, std::move(progress), std::move(cancellation));
}

} // namespace MediaDownloader
