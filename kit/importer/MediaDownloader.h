#pragma once

#include "NetworkRequest.h"
#include "Platform.h"
#include "ProgressDownloader.h"

#include <QString>
#include <QCoro/QCoroTask>
#include <chrono>
#include <memory>

class Cancellation;

// Fetches one remote image, video or audio file of a post into a temporary
// file, with the request headers its platform expects.
namespace MediaDownloader {

using File = ProgressDownloader::File;
using Progress = ProgressDownloader::Progress;

constexpr std::chrono::seconds imageTimeout{300};
constexpr std::chrono::seconds videoTimeout{600};
// However slowly a file trickles in, it ends after this: enough for the
// largest file at a slow connection's pace.
constexpr std::chrono::hours deadline{2};
// Files are streamed to disk, so only the disk limits them; this keeps a
// server that never stops from filling it.
constexpr qint64 bodyLimit = qint64(4) * 1024 * 1024 * 1024;
// No server takes a longer link; a parser that hands one on has misread a page.
constexpr qsizetype maxLinkLength = 8192;

// The request for a media link with its platform's headers, also for those
// who stream it elsewhere; throws for a bad link as fetch does.
NetworkRequest request(const QString &link, Platform platform, std::chrono::seconds timeout);

// The link is normalised first ("//" and "http://" become "https://").
// Throws ParseError::noURL for a link that is empty, relative, malformed or
// longer than maxLinkLength, NetworkError for one that is not http or https
// or a failed transfer, and ParseError::badResponse for a status outside
// 200 to 299. `timeout` is the longest wait for the next bytes.
QCoro::Task<File> fetch(QString link, Platform platform, std::chrono::seconds timeout, Progress progress = {},
                        std::shared_ptr<Cancellation> cancellation = {});
QCoro::Task<File> fetchVideo(QString link, Platform platform, Progress progress = {},
                             std::shared_ptr<Cancellation> cancellation = {});

} // namespace MediaDownloader
