#include "Media.h"

#include "Post.h"

namespace {
enum Blob { dataBlob, thumbnailBlob, videoDataBlob };
enum Inverse { postInverse };
} // namespace

Media::Media(MediaKind kind, int order)
    : PersistentModel(entityDescription()), m_kindRaw(kind.rawValue()), m_order(order)
{
}

Media::Media(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Media::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Media>(QStringLiteral("Media"),
                             [] { return std::shared_ptr<Media>(new Media(Materializing{})); })
            .column(QStringLiteral("kindRaw"), &Media::m_kindRaw)
            .column(QStringLiteral("order"), &Media::m_order)
            .column(QStringLiteral("remoteURL"), &Media::m_remoteURL)
            .column(QStringLiteral("videoRemoteURL"), &Media::m_videoRemoteURL)
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

std::optional<QByteArray> Media::data() const
{
    return blob(dataBlob);
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
    return blob(videoDataBlob);
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
