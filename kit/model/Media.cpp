#include "Media.h"

#include "ImageTools.h"
#include "MediaSizes.h"
#include "Post.h"

#include <QFile>
#include <QFileInfo>

namespace {
enum Blob { dataBlob, thumbnailBlob, videoDataBlob };
enum Inverse { postInverse };
constexpr int thumbnailPixels = 640;
constexpr double thumbnailQuality = 0.8;
} // namespace

Media::Media(MediaKind kind, qint64 order)
    : PersistentModel(entityDescription()), m_kindRaw(kind.rawValue()), m_order(order)
{
}

Media::Media(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Media::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Media>(QStringLiteral("Media"), &materialized<Media>)
            .column(QStringLiteral("kindRaw"), &Media::m_kindRaw)
            .column(QStringLiteral("order"), &Media::m_order)
            .deferredColumn(QStringLiteral("remoteURL"), &Media::m_remoteURL)
            .deferredColumn(QStringLiteral("videoRemoteURL"), &Media::m_videoRemoteURL)
            .column(QStringLiteral("width"), &Media::m_width)
            .column(QStringLiteral("height"), &Media::m_height)
            .column(QStringLiteral("duration"), &Media::m_duration)
            .externalBlob(QStringLiteral("data"))
            .externalBlob(QStringLiteral("thumbnail"))
            .externalBlob(QStringLiteral("videoData"))
            .column(QStringLiteral("dataSize"), &Media::m_dataSize)
            .column(QStringLiteral("videoSize"), &Media::m_videoSize)
            .inverse(QStringLiteral("post"), &Post::entityDescription, QStringLiteral("media"), false)
            .build();
    return entity;
}

bool Media::isWhole(int blob, qint64 recorded) const
{
    const qint64 size = blobSize(blob);
    return size >= 0 && size >= recorded;
}

std::optional<QByteArray> Media::wholeBlob(int blob, qint64 recorded) const
{
    return isWhole(blob, recorded) ? this->blob(blob) : std::nullopt;
}

std::optional<QString> Media::wholeBlobPath(int blob, qint64 recorded) const
{
    return isWhole(blob, recorded) ? blobPath(blob) : std::nullopt;
}

std::optional<QByteArray> Media::data() const
{
    return wholeBlob(dataBlob, m_dataSize);
}

void Media::setData(const std::optional<QByteArray> &value)
{
    setBlob(dataBlob, value);
}

std::optional<QByteArray> Media::thumbnail() const
{
    return blob(thumbnailBlob);
}

void Media::setThumbnail(const std::optional<QByteArray> &value)
{
    setBlob(thumbnailBlob, value);
}

std::optional<QByteArray> Media::videoData() const
{
    return wholeBlob(videoDataBlob, m_videoSize);
}

void Media::setVideoData(const std::optional<QByteArray> &value)
{
    setBlob(videoDataBlob, value);
}

std::shared_ptr<Post> Media::post() const
{
    const auto owners = inverseRelated(postInverse);
    return owners.isEmpty() ? nullptr : std::static_pointer_cast<Post>(owners.first());
}

void Media::setPost(const std::shared_ptr<Post> &post)
{
    setInverseRelated(postInverse, post ? QList<std::shared_ptr<PersistentModel>>{post}
                                        : QList<std::shared_ptr<PersistentModel>>{});
}

MediaKind Media::kind() const
{
    return MediaKind::fromRawValue(m_kindRaw).value_or(MediaKind::image);
}

void Media::setKind(MediaKind kind)
{
    setKindRaw(kind.rawValue());
}

double Media::aspectRatio() const
{
    // Written so that a NaN side counts as not positive.
    if (!(m_width > 0) || !(m_height > 0))
        return 1.0;
    return m_width / m_height;
}

bool Media::hasImageData() const
{
    return (!MediaSizes::ready() || m_dataSize > 0) && isWhole(dataBlob, m_dataSize);
}

bool Media::hasVideoData() const
{
    return (!MediaSizes::ready() || m_videoSize > 0) && isWhole(videoDataBlob, m_videoSize);
}

bool Media::needsImageDownload() const
{
    return !remoteURL().isEmpty() && !hasImageData();
}

bool Media::hasVideo() const
{
    const auto parsed = MediaKind::fromRawValue(m_kindRaw);
    if (!parsed || *parsed == MediaKind::image)
        return false;
    return !videoRemoteURL().isEmpty() || hasVideoData();
}

bool Media::needsVideoDownload() const
{
    return hasVideo() && !videoRemoteURL().isEmpty() && !hasVideoData();
}

std::optional<QByteArray> Media::thumbnailOf(const QByteArray &picture)
{
    return ImageTools::thumbnail(picture, thumbnailPixels, thumbnailQuality);
}

void Media::setImage(const std::optional<QByteArray> &data)
{
    setData(data);
    setThumbnail(data ? thumbnailOf(*data) : std::nullopt);
    setDataSize(data ? data->size() : 0);
}

void Media::setVideo(const std::optional<QByteArray> &data)
{
    setVideoData(data);
    setVideoSize(data ? data->size() : 0);
}

void Media::adoptImage(const QString &filePath)
{
    QFile file(filePath);
    const qint64 size = file.size();
    std::optional<QByteArray> thumbnail;
    if (file.open(QIODevice::ReadOnly))
        if (const uchar *mapped = file.map(0, size)) {
            const auto bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size);
            thumbnail = thumbnailOf(bytes);
        }
    file.close();
    adoptBlob(dataBlob, filePath);
    setThumbnail(thumbnail);
    setDataSize(size);
}

void Media::adoptVideo(const QString &filePath)
{
    const qint64 size = QFileInfo(filePath).size();
    adoptBlob(videoDataBlob, filePath);
    setVideoSize(size);
}

std::optional<QString> Media::dataFilePath() const
{
    return wholeBlobPath(dataBlob, m_dataSize);
}

std::optional<QString> Media::videoDataFilePath() const
{
    return wholeBlobPath(videoDataBlob, m_videoSize);
}
