#include "HeicEncoder.h"
#include "ImageTools.h"
#include "TestImages.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

using TestImages::encoded;

// Left half red, right half blue, so a turn shows where the halves went.
QImage halves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

// An APP1 Exif segment (length 34) whose big-endian TIFF IFD holds one entry,
// the Orientation tag (0x0112, SHORT), placed right after the JPEG's SOI marker.
QByteArray withOrientation(QByteArray jpeg, char orientation)
{
    const QByteArray segment = QByteArray::fromHex("FFE10022457869660000"
                                                   "4D4D002A000000080001011200030000000100") +
                               orientation + QByteArray(6, '\0');
    return jpeg.insert(2, segment);
}

TEST(ImageToolsTest, OrientationTurnsSizeAndThumbnailButNotJpegData)
{
    const QByteArray photo = encoded(halves(4000, 3000), "jpeg");
    EXPECT_EQ(ImageTools::pixelSize(withOrientation(photo, 6)), QSizeF(3000, 4000));

    const auto thumb = ImageTools::thumbnail(withOrientation(encoded(halves(80, 60), "jpeg"), 6), 640, 0.9);
    ASSERT_TRUE(thumb);
    const QImage image = QImage::fromData(*thumb);
    ASSERT_EQ(image.size(), QSize(60, 80));     // turned clockwise, never enlarged
    EXPECT_GT(qRed(image.pixel(30, 5)), 200);   // the left half is now on top
    EXPECT_GT(qBlue(image.pixel(30, 75)), 200); // and the right half below

    // A JPEG is passed through untouched, its orientation with it.
    EXPECT_EQ(ImageTools::jpegData(withOrientation(photo, 6), 0.1), withOrientation(photo, 6));
}

TEST(ImageToolsTest, BytesThatAreNoImageGiveNothing)
{
    for (const QByteArray &bytes :
         {QByteArray(), QByteArray("<!DOCTYPE html><html><body>404</body></html>")}) {
        EXPECT_FALSE(ImageTools::pixelSize(bytes));
        EXPECT_FALSE(ImageTools::thumbnail(bytes, 640, 0.8));
        EXPECT_FALSE(ImageTools::jpegData(bytes, 0.92));
    }
}

// Each needs more than Qt's default 128 MB once decoded, within the export cap.
TEST(ImageToolsTest, PicturesWithinTheExportCapAreDecodedAndExportedAsJpeg)
{
    const auto sizeOf = [](const std::optional<QByteArray> &bytes, const char *format) {
        return bytes ? QImage::fromData(*bytes, format).size() : QSize();
    };
    const QByteArray square = TestImages::encoded(6000, 6000, Qt::darkCyan, "png");
    EXPECT_EQ(sizeOf(ImageTools::jpegData(square, 0.92), "jpeg"), QSize(6000, 6000));
    const QByteArray wide = TestImages::encoded(10000, 7500, Qt::darkCyan, "png");
    EXPECT_EQ(sizeOf(ImageTools::jpegData(wide, 0.92), "jpeg"), QSize(8192, 6144));
    // Sixteen bits a channel, kept by PNG, decode to 8 bytes a pixel: 288 MB, past a
    // limit reckoned at 4 bytes a pixel.
    const QByteArray deep = [] {
        QImage image(6000, 6000, QImage::Format_RGBA64);
        image.fill(Qt::darkCyan);
        return encoded(image, "png");
    }();
    EXPECT_EQ(sizeOf(ImageTools::jpegData(deep, 0.92), "jpeg"), QSize(6000, 6000));

    const QByteArray webp = TestImages::encoded(9000, 6000, Qt::darkCyan, "webp");
    EXPECT_EQ(sizeOf(ImageTools::thumbnail(webp, 640, 0.8), "jpeg"), QSize(640, 426));
    EXPECT_EQ(sizeOf(ImageTools::thumbnail(webp, 2560, 0.9), "jpeg"), QSize(2560, 1706));
}

TEST(ImageToolsTest, HeicIsSizedAndThumbnailedLikeJpegWithItsOrientation)
{
    if (!HeicEncoder::available())
        GTEST_SKIP() << "libheif has no HEIC encoder here";
    const QByteArray upright = HeicEncoder::encoded(halves(800, 600));
    const QByteArray turned = HeicEncoder::encoded(halves(800, 600), 6);
    ASSERT_FALSE(upright.isEmpty() || turned.isEmpty());
    EXPECT_EQ(ImageTools::pixelSize(upright), QSizeF(800, 600));
    EXPECT_EQ(ImageTools::pixelSize(turned), QSizeF(600, 800));
    EXPECT_TRUE(ImageTools::isImage(turned));

    const auto thumb = ImageTools::thumbnail(turned, 640, 0.9);
    ASSERT_TRUE(thumb);
    const QImage image = QImage::fromData(*thumb, "jpeg");
    ASSERT_EQ(image.size(), QSize(480, 640));
    EXPECT_GT(qRed(image.pixel(240, 40)), 200);   // the left half is now on top
    EXPECT_GT(qBlue(image.pixel(240, 600)), 200); // and the right half below

    EXPECT_EQ(ImageTools::jpegData(turned, 0.1), turned);
    EXPECT_FALSE(ImageTools::thumbnail(turned.left(turned.size() / 2), 640, 0.9)) << "a cut-off file";
}

} // namespace
