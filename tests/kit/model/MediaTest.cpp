#include "Media.h"
#include "MediaSizes.h"
#include "TestHome.h"

#include <QBuffer>
#include <QImage>
#include <cmath>

namespace {

class MediaTest : public HomeTest {
protected:
    void setSizesReady(bool ready) { MediaSizes::setCachedReady(ready); }
};

TEST_F(MediaTest, KindReadsUnknownRawValuesAsImage)
{
    Media media(MediaKind::video, 3);
    EXPECT_EQ(media.kindRaw(), QStringLiteral("video"));
    EXPECT_EQ(media.order(), 3);
    media.setKindRaw(QStringLiteral("Video"));
    EXPECT_EQ(media.kind(), MediaKind::image);
    media.setVideoRemoteURL(QStringLiteral("https://a/v.mp4"));
    EXPECT_FALSE(media.hasVideo());
    media.setKind(MediaKind::livePhoto);
    EXPECT_EQ(media.kindRaw(), QStringLiteral("livePhoto"));
}

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

    setSizesReady(false);
    EXPECT_TRUE(media.hasImageData()) << "empty bytes are still bytes";
    EXPECT_FALSE(media.needsImageDownload());
    setSizesReady(true);
    EXPECT_FALSE(media.hasImageData()) << "the count was never recorded";
    EXPECT_TRUE(media.needsImageDownload());
    media.setDataSize(10);
    EXPECT_TRUE(media.hasImageData());
}

TEST_F(MediaTest, VideoTestsDependOnKindLinkAndBytes)
{
    setSizesReady(false);
    Media video(MediaKind::video, 0);
    EXPECT_FALSE(video.hasVideo());
    EXPECT_FALSE(video.needsVideoDownload());
    video.setVideo(QByteArray("clip"));
    EXPECT_TRUE(video.hasVideo());
    EXPECT_FALSE(video.needsVideoDownload());

    Media live(MediaKind::livePhoto, 0);
    live.setVideoRemoteURL(QStringLiteral("https://a/m.mov"));
    EXPECT_TRUE(live.hasVideo());
    EXPECT_TRUE(live.needsVideoDownload());
    live.setVideo(QByteArray("motion"));
    EXPECT_EQ(live.videoSize(), 6);
    EXPECT_FALSE(live.needsVideoDownload());

    setSizesReady(true);
    live.setVideo(std::nullopt);
    EXPECT_FALSE(live.videoData().has_value());
    EXPECT_EQ(live.videoSize(), 0);
    EXPECT_TRUE(live.needsVideoDownload());

    Media image(MediaKind::image, 0);
    image.setVideoRemoteURL(QStringLiteral("https://a/v.mp4"));
    EXPECT_FALSE(image.hasVideo());
}

TEST_F(MediaTest, UndecodableImageIsStoredWithoutThumbnail)
{
    Media media(MediaKind::image, 0);
    const QByteArray page("<html><body>403 Forbidden</body></html>");
    media.setImage(page);
    EXPECT_EQ(media.data(), page);
    EXPECT_EQ(media.dataSize(), page.size());
    EXPECT_FALSE(media.thumbnail().has_value());

    media.setImage(std::nullopt);
    EXPECT_FALSE(media.data().has_value());
    EXPECT_FALSE(media.thumbnail().has_value());
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
    EXPECT_EQ(media.dataSize(), jpeg.size());
}

} // namespace
