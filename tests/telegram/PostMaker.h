#pragma once

#include "Media.h"
#include "Post.h"
#include "TestImages.h"

#include <memory>

// Posts with media held in memory, for building payloads.
namespace PostMaker {

inline QByteArray png(int width, int height)
{
    return TestImages::encoded(width, height, Qt::darkCyan, "png");
}

inline std::shared_ptr<Post> post(Platform platform = Platform::weibo)
{
    return std::make_shared<Post>(QStringLiteral("https://weibo.com/1/2"), platform);
}

inline std::shared_ptr<Media> add(const std::shared_ptr<Post> &post, MediaKind kind,
                                  std::optional<QByteArray> image,
                                  std::optional<QByteArray> file = std::nullopt)
{
    auto medium = std::make_shared<Media>(kind, int(post->media().size()));
    medium->setData(image);
    medium->setVideoData(file);
    auto media = post->media();
    media.append(medium);
    post->setMedia(media);
    return medium;
}

} // namespace PostMaker
