#include "Media.h"
#include "MediaSizes.h"
#include "TestHome.h"

namespace {

using MediaTest = HomeTest;

TEST_F(MediaTest, DownloadNeedsWithAndWithoutRecordedSizes)
{
    // With recorded sizes, bytes whose count was never recorded do not count as present.
    for (const bool sizesRecorded : {false, true}) {
        MediaSizes::setCachedReady(sizesRecorded);
        Media image(MediaKind::image, 0);
        image.setRemoteURL(QStringLiteral("https://a/p.jpg"));
        image.setData(QByteArray());
        EXPECT_EQ(image.needsImageDownload(), sizesRecorded) << sizesRecorded;
        Media live(MediaKind::livePhoto, 0);
        live.setVideoRemoteURL(QStringLiteral("https://a/m.mov"));
        EXPECT_TRUE(live.needsVideoDownload()) << sizesRecorded;
        live.setVideo(QByteArray("motion"));
        EXPECT_FALSE(live.needsVideoDownload()) << sizesRecorded;
    }
}

TEST_F(MediaTest, UndecodableImageIsStoredWithoutThumbnail)
{
    Media media(MediaKind::image, 0);
    const QByteArray page("<html><body>403 Forbidden</body></html>");
    media.setImage(page);
    EXPECT_EQ(media.data(), page);
    EXPECT_FALSE(media.thumbnail().has_value());
}

} // namespace
