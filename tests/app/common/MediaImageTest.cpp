#include "MediaImage.h"

#include "Media.h"
#include "ModelContainer.h"
#include "Screenshot.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "TestImages.h"

#include <QSignalSpy>
#include <QTest>

namespace {

class MediaImageTest : public HomeTest {
protected:
    std::shared_ptr<Media> addMedia(const QByteArray &data)
    {
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setImage(data);
        context.insert(media);
        return media;
    }

    // The picture shown once the load that the action starts has ended.
    template <class Action> QImage shownAfter(MediaImage &view, Action action)
    {
        QSignalSpy loaded(&view, &MediaImage::imageLoaded);
        action();
        EXPECT_TRUE(!loaded.isEmpty() || loaded.wait(10000));
        return view.image();
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
    ImageCache cache;
};

TEST_F(MediaImageTest, LoadsWhenShownAndFollowsANewDownload)
{
    const auto media = addMedia(TestImages::encoded(1600, 1200, Qt::red));
    MediaImage view(nullptr, cache);
    view.resize(200, 200);
    view.setMedia(media, ImageCache::Size::full);
    EXPECT_TRUE(view.image().isNull()) << "nothing is decoded before the view is shown";
    EXPECT_EQ(shownAfter(view, [&] { view.show(); }).size(), QSize(1600, 1200));
    EXPECT_GT(view.grab().toImage().pixelColor(100, 100).red(), 240);

    // A new download changes the byte count; the view notices through the store.
    const QByteArray download = TestImages::encoded(800, 400, Qt::blue);
    EXPECT_EQ(shownAfter(view, [&] { media->setImage(download); }).size(), QSize(800, 400));
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("media-image-fit")));

    // Bytes that do not decode clear the previous picture.
    auto broken = std::make_shared<Media>(MediaKind::image, 1);
    broken->setData(QByteArray("not a picture"));
    context.insert(broken);
    EXPECT_TRUE(shownAfter(view, [&] { view.setMedia(broken, ImageCache::Size::thumb); }).isNull());
}

TEST_F(MediaImageTest, CachedPicturesShowAtOnceAndFillCrops)
{
    const auto media = addMedia(TestImages::encoded(400, 100, Qt::green));
    QImage cached;
    cached.loadFromData(TestImages::encoded(400, 100, Qt::green));
    cache.insert(ImageCache::key(*media, ImageCache::Size::thumb), cached);

    MediaImage view(nullptr, cache);
    view.resize(100, 100);
    view.setFit(false);
    view.setMedia(media, ImageCache::Size::thumb);
    EXPECT_EQ(view.image().cacheKey(), cached.cacheKey());
    // Filling: the wide picture covers the whole square.
    const QImage shot = view.grab().toImage();
    EXPECT_GT(shot.pixelColor(50, 2).green(), 240);
    EXPECT_GT(shot.pixelColor(50, 97).green(), 240);
}

} // namespace
