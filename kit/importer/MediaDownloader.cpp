#include "MediaDownloader.h"

#include "HTTPClient.h"
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
    if (!url.isValid() || url.isRelative() || (url.host().isEmpty() && HTTPClient::isWebScheme(url)))
        throw ParseError::noURL();
    HTTPClient::requireWebScheme(url);
    return url;
}

QNetworkRequest mediaRequest(const QUrl &url, Platform platform, std::chrono::seconds timeout)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(int(std::chrono::milliseconds(timeout).count()));
    // The platform's own headers may name the agent again (Douyin does).
    request.setRawHeader("User-Agent", UserAgent::iPhone.toUtf8());
    const QMap<QString, QString> headers = platform.mediaHeaders();
    for (auto it = headers.constBegin(); it != headers.constEnd(); ++it)
        request.setRawHeader(it.key().toUtf8(), it.value().toUtf8());
    return request;
}

} // namespace

namespace MediaDownloader {

QCoro::Task<File> fetch(QString link, Platform platform, std::chrono::seconds timeout, Progress progress,
                        std::stop_token stop)
{
    const QNetworkRequest request = mediaRequest(mediaURL(link), platform, timeout);
    ProgressDownloader::Download download =
        co_await ProgressDownloader::shared().download(request, std::move(progress), std::move(stop));
    if (download.statusCode < 200 || download.statusCode > 299)
        throw ParseError::badResponse(download.statusCode);
    co_return std::move(download.file);
}

QCoro::Task<File> fetchVideo(QString link, Platform platform, Progress progress, std::stop_token stop)
{
    return fetch(std::move(link), platform, videoTimeout, std::move(progress), std::move(stop));
}

} // namespace MediaDownloader
