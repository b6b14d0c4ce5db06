#include "ImageCache.h"

#include "Media.h"
#include "ModelContainer.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "TestImages.h"
#include "WaitFor.h"

#include <QDirIterator>

namespace {

class ImageCacheTest : public HomeTest {
protected:
    std::shared_ptr<Media> addMedia(std::optional<QByteArray> data, std::optional<QByteArray> thumbnail)
    {
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setData(data);
        media->setThumbnail(thumbnail);
        media->setDataSize(data ? data->size() : 0);
        context.insert(media);
        return media;
    }

    QImage load(const std::shared_ptr<Media> &media, ImageCache::Size size)
    {
        return TestAsync::waitFor(cache.load(media, size));
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
    ImageCache cache;
};

TEST_F(ImageCacheTest, DecodingCapsTheLongerSideAndTurnsPicturesUpright)
{
    const QByteArray wide = TestImages::encoded(2000, 1000, Qt::red);
    EXPECT_EQ(ImageCache::decode(wide, 720).size(), QSize(720, 360));
    const QByteArray turned =
        TestImages::encoded(1600, 800, Qt::red, "jpeg", QImageIOHandler::TransformationRotate90);
    EXPECT_EQ(ImageCache::decode(turned, 720).size(), QSize(360, 720));

    EXPECT_TRUE(ImageCache::decode(TestImages::declaredGif(30000, 30000), 720).isNull());
}

TEST_F(ImageCacheTest, FullPrefersDownloadedBytesAndThumbPrefersTheThumbnail)
{
    const QByteArray big = TestImages::encoded(4000, 2000, Qt::blue);
    const QByteArray small = TestImages::encoded(400, 200, Qt::green);

    const auto both = addMedia(big, small);
    EXPECT_EQ(load(both, ImageCache::Size::full).size(), QSize(3200, 1600));
    EXPECT_EQ(load(both, ImageCache::Size::thumb).size(), QSize(400, 200));

    // Picked on presence: bytes that do not decode are not replaced by the thumbnail.
    const auto broken = addMedia(QByteArray("garbage"), small);
    EXPECT_TRUE(load(broken, ImageCache::Size::full).isNull());
    EXPECT_TRUE(cache.cached(ImageCache::key(*broken, ImageCache::Size::full)).isNull());

    const auto thumbnailOnly = addMedia(std::nullopt, small);
    EXPECT_EQ(load(thumbnailOnly, ImageCache::Size::full).size(), QSize(400, 200));
    EXPECT_FALSE(cache.cached(ImageCache::key(*thumbnailOnly, ImageCache::Size::full)).isNull());

    context.remove(both);
    EXPECT_TRUE(load(both, ImageCache::Size::full).isNull()) << "a deleted item shows nothing, cached or not";
    EXPECT_TRUE(load(nullptr, ImageCache::Size::full).isNull());
}

TEST_F(ImageCacheTest, ANewDownloadGetsANewKeyAndACachedImageIsReused)
{
    const QByteArray red = TestImages::encoded(100, 100, Qt::red);
    const auto media = addMedia(red, std::nullopt);
    const QImage first = load(media, ImageCache::Size::full);
    EXPECT_EQ(load(media, ImageCache::Size::full).cacheKey(), first.cacheKey());

    media->setImage(TestImages::encoded(300, 150, Qt::blue));
    EXPECT_EQ(load(media, ImageCache::Size::full).size(), QSize(300, 150));
    EXPECT_EQ(cache.count(), 2);
}

// The file holding a thumbnail, found by its bytes.
QString fileHolding(const QString &folder, const QByteArray &bytes)
{
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        if (QFile file(it.next()); file.open(QIODevice::ReadOnly) && file.readAll() == bytes)
            return file.fileName();
    return {};
}

// A card whose thumbnail file was cut short or spoilt must not stay blank
// for good.
TEST_F(ImageCacheTest, AThumbnailThatIsEmptyOrNoImageIsMadeAgainFromThePicture)
{
    const auto store = TamselStore::makeContainer(false);
    ModelContext &stored = store->mainContext();
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    media->setImage(TestImages::encoded(2000, 1000, Qt::blue, "jpeg"));
    stored.insert(media);
    stored.save();
    const QByteArray made = *media->thumbnail();
    const QString file = fileHolding(home.dataFolder(), made);
    ASSERT_FALSE(file.isEmpty());

    ASSERT_TRUE(QFile::resize(file, 0));
    EXPECT_EQ(load(media, ImageCache::Size::thumb).size(), QSize(640, 320));
    EXPECT_EQ(media->thumbnail(), made);
    EXPECT_FALSE(stored.hasChanges()) << "the new thumbnail is kept";

    media->setThumbnail(QByteArray("<html>not found</html>"));
    stored.save();
    ImageCache fresh;
    EXPECT_EQ(TestAsync::waitFor(fresh.load(media, ImageCache::Size::thumb)).size(), QSize(640, 320));
    EXPECT_EQ(media->thumbnail(), made);
}

TEST_F(ImageCacheTest, LeastRecentlyUsedImagesGoWhenCountOrBytesRunOut)
{
    QImage image(10, 10, QImage::Format_ARGB32); // 400 bytes
    ImageCache limited(2, 1000);
    limited.insert(QStringLiteral("a"), image);
    limited.insert(QStringLiteral("b"), image);
    EXPECT_FALSE(limited.cached(QStringLiteral("a")).isNull());
    limited.insert(QStringLiteral("c"), image); // three images: "b" is the oldest
    EXPECT_TRUE(limited.cached(QStringLiteral("b")).isNull());
    limited.insert(QStringLiteral("d"), QImage(35, 5, QImage::Format_ARGB32)); // 700 bytes: over the budget
    EXPECT_EQ(limited.count(), 1);
    limited.insert(QStringLiteral("d"), image);
    EXPECT_EQ(limited.count(), 1);
    EXPECT_EQ(limited.bytes(), 400) << "storing a key again replaces its image";
}

} // namespace
