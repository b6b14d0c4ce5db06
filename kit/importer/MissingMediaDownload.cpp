#include "MissingMediaDownload.h"

#include "Cancellation.h"
#include "ImageTools.h"
#include "ImportProgress.h"
#include "KitLog.h"
#include "Media.h"
#include "ModelContext.h"
#include "Post.h"
#include "PostImporter.h"

#include <QTemporaryFile>
#include <algorithm>
#include <stdexcept>

namespace {

bool needsVideo(const Media &media, bool videos)
{
    return videos && media.needsVideoDownload();
}

bool needsFile(const Media &media, bool videos)
{
    return media.needsImageDownload() || needsVideo(media, videos);
}

// The displayed size of the downloaded picture, read from its header with
// the file mapped rather than copied. Throws for a file that is no picture,
// such as an error page served in its place.
std::optional<QSizeF> pictureSize(QFile &file)
{
    const qint64 size = file.size();
    uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    const QByteArray bytes =
        mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size) : QByteArray();
    const bool isImage = ImageTools::isImage(bytes);
    const std::optional<QSizeF> displayed = isImage ? ImageTools::pixelSize(bytes) : std::nullopt;
    if (mapped)
        file.unmap(mapped);
    if (!isImage)
        throw std::runtime_error("not an image");
    return displayed;
}

} // namespace

MissingMediaDownload::MissingMediaDownload(PostImporter &importer, std::shared_ptr<Post> post, bool videos)
    : m_importer(importer), m_post(std::move(post)), m_postID(m_post->id()), m_platform(m_post->platform()),
      m_videos(videos)
{
    QObject::connect(&importer.context(), &ModelContext::changed, &m_watch, [this] { cancelIfGone(); });
}

bool MissingMediaDownload::isNeeded(const Post &post, bool videos)
{
    const auto media = post.media();
    return std::any_of(media.cbegin(), media.cend(),
                       [videos](const auto &item) { return needsFile(*item, videos); });
}

QCoro::Task<> MissingMediaDownload::run()
{
    QList<std::shared_ptr<Media>> queue;
    QList<ImportProgress::DownloadItem> items;
    for (const auto &media : m_post->sortedMedia()) {
        if (!media->isGone() && needsFile(*media, m_videos)) {
            queue.append(media);
            items.append({media->id(), needsVideo(*media, m_videos)});
        }
    }
    ImportProgress::shared().startDownloading(m_postID, items);
    for (const auto &media : queue) {
        if (m_post->isGone())
            break;
        const bool withVideo = !isGone(*media) && needsVideo(*media, m_videos);
        if (!isGone(*media) && media->needsImageDownload())
            co_await fetchImage(media, !withVideo);
        if (withVideo && !isGone(*media))
            co_await fetchVideo(media);
        ImportProgress::shared().complete(m_postID, media->id());
    }
    ImportProgress::shared().finish(m_postID);
}

QCoro::Task<> MissingMediaDownload::fetchImage(std::shared_ptr<Media> media, bool withProgress)
{
    const QString link = media->remoteURL();
    watch(media);
    // Named rather than a temporary of the co_await expression, which gcc 12
    // destroys twice.
    MediaDownloader::Progress progress = withProgress ? progressOf(*media) : nullptr;
    try {
        MediaDownloader::File file = co_await MediaDownloader::fetch(
            link, m_platform, MediaDownloader::imageTimeout, std::move(progress), m_cancellation);
        if (isGone(*media))
            co_return;
        const std::optional<QSizeF> size = pictureSize(*file);
        media->adoptImage(file->fileName());
        if (size) {
            media->setWidth(size->width());
            media->setHeight(size->height());
        }
        m_importer.save();
    } catch (const std::exception &error) {
        if (!isGone(*media))
            qCCritical(tamselLog, "image download failed %s: %s", qUtf8Printable(link), error.what());
    }
}

QCoro::Task<> MissingMediaDownload::fetchVideo(std::shared_ptr<Media> media)
{
    watch(media);
    MediaDownloader::Progress progress = progressOf(*media);
    try {
        MediaDownloader::File file = co_await MediaDownloader::fetchVideo(
            media->videoRemoteURL(), m_platform, std::move(progress), m_cancellation);
        if (isGone(*media))
            co_return;
        media->adoptVideo(file->fileName());
        m_importer.save();
    } catch (const std::exception &error) {
        if (!isGone(*media))
            qCCritical(tamselLog, "video download failed: %s", error.what());
    }
}

MediaDownloader::Progress MissingMediaDownload::progressOf(const Media &media) const
{
    return [post = m_postID, item = media.id()](qint64 written, qint64 expected) {
        ImportProgress::shared().update(post, item, written, expected);
    };
}

void MissingMediaDownload::watch(const std::shared_ptr<Media> &media)
{
    m_current = media;
    m_cancellation = std::make_shared<Cancellation>();
}

void MissingMediaDownload::cancelIfGone()
{
    if (m_current && isGone(*m_current))
        m_cancellation->cancel();
}

bool MissingMediaDownload::isGone(const Media &media) const
{
    return m_post->isGone() || media.isGone();
}
