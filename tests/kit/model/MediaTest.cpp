#include "Media.h"
#include "MediaSizes.h"
#include "TestHome.h"

#include <QBuffer>
#include <QImage>
#include <cmath>

namespace {

using MediaTest = HomeTest;

TEST_F(MediaTest, AspectRatioNeedsTwoPositiveSides)
{
    Media media(MediaKind::image, 0);
    media.setWidth(1920);
    media.setHeight(1080);
    EXPECT_DOUBLE_EQ(media.aspectRatio(), 1920.0 / 1080.0);
    for (double height : {0.0, -5.0, std::nan("")}) {
        media.setHeight(height);
        EXPECT_EQ(media.aspectRatio(), 1.0) << height;
    }
}

TEST_F(MediaTest, ImageTestsReadTheBytesUntilSizesAreRecorded)
{
    Media media(MediaKind::image, 0);
    EXPECT_FALSE(media.needsImageDownload()) << "no link, nothing to fetch";
    media.setRemoteURL(QStringLiteral("https://a/p.jpg"));
    media.setData(QByteArray());

    MediaSizes::setCachedReady(false);
    EXPECT_TRUE(media.hasImageData()) << "empty bytes are still bytes";
    EXPECT_FALSE(media.needsImageDownload());
    MediaSizes::setCachedReady(true);
    EXPECT_FALSE(media.hasImageData()) << "the count was never recorded";
    EXPECT_TRUE(media.needsImageDownload());
    media.setDataSize(10);
    EXPECT_TRUE(media.hasImageData());
}

TEST_F(MediaTest, VideoTestsDependOnKindLinkAndBytes)
{
    MediaSizes::setCachedReady(false);
    Media video(MediaKind::video, 0);
    EXPECT_FALSE(video.hasVideo());
    video.setVideo(QByteArray("clip"));
    EXPECT_TRUE(video.hasVideo());
    EXPECT_FALSE(video.needsVideoDownload());

    Media live(MediaKind::livePhoto, 0);
    live.setVideoRemoteURL(QStringLiteral("https://a/m.mov"));
    EXPECT_TRUE(live.needsVideoDownload());
    live.setVideo(QByteArray("motion"));
    EXPECT_EQ(live.videoSize(), 6);
    EXPECT_FALSE(live.needsVideoDownload());

    MediaSizes::setCachedReady(true);
    live.setVideo(std::nullopt);
    EXPECT_EQ(live.videoSize(), 0);
    EXPECT_TRUE(live.needsVideoDownload());
}

TEST_F(MediaTest, UndecodableImageIsStoredWithoutThumbnail)
{
    Media media(MediaKind::image, 0);
    const QByteArray page("<html><body>403 Forbidden</body></html>");
    media.setImage(page);
    EXPECT_EQ(media.dataSize(), page.size());
    EXPECT_FALSE(media.thumbnail().has_value());
    media.setImage(std::nullopt);
    EXPECT_FALSE(media.data().has_value());
    EXPECT_EQ(media.dataSize(), 0);
}

TEST_F(MediaTest, ImageGetsASmallJpegThumbnail)
{
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(photo.save(&buffer, "JPEG"));

    Media media(MediaKind::image, 0);
    media.setImage(jpeg);
    ASSERT_TRUE(media.thumbnail().has_value());
    EXPECT_TRUE(media.thumbnail()->startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QImage::fromData(*media.thumbnail()).size(), QSize(640, 480));
}

} // namespace
