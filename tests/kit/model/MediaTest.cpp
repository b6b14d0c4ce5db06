#include "Media.h"
#include "MediaSizes.h"
#include "ModelContainer.h"
#include "StoreError.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

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
    }
}

class StoredMediaTest : public HomeTest {
protected:
    QString storePath() const { return home.path() + QStringLiteral("/Library.store"); }
    void reopen()
    {
        container.reset();
        container = std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
    }
    std::shared_ptr<Media> onlyMedia() { return container->mainContext().fetch<Media>().value(0); }
    std::shared_ptr<Media> insertVideo()
    {
        auto video = std::make_shared<Media>(MediaKind::video, 0);
        video->setVideoRemoteURL(QStringLiteral("https://a/v.mp4"));
        container->mainContext().insert(video);
        return video;
    }

    std::unique_ptr<ModelContainer> container =
        std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
};

ino_t inode(const QString &path)
{
    struct stat info {};
    return ::stat(path.toUtf8().constData(), &info) == 0 ? info.st_ino : 0;
}

TEST_F(StoredMediaTest, ALargeDownloadedFileIsAdoptedWithoutBeingRead)
{
    constexpr qint64 size = 600LL * 1024 * 1024;
    const QString download = home.path() + QStringLiteral("/dl-video");
    {
        QFile file(download);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    const ino_t downloaded = inode(download);
    auto video = insertVideo();
    video->adoptVideo(download);
    container->mainContext().save();
    EXPECT_FALSE(QFile::exists(download));
    EXPECT_EQ(inode(*video->videoDataFilePath()), downloaded) << "moved, never read and written anew";

    reopen();
    EXPECT_FALSE(onlyMedia()->needsVideoDownload());
}

TEST_F(StoredMediaTest, ACutShortOrMissingFileIsDownloadedAgain)
{
    const QByteArray bytes(1000, 'v');
    insertVideo()->setVideo(bytes);
    container->mainContext().save();
    const QString file = *onlyMedia()->videoDataFilePath();
    for (const bool sizesRecorded : {false, true}) {
        MediaSizes::setCachedReady(sizesRecorded);
        ASSERT_TRUE(QFile::resize(file, 400));
        reopen();
        EXPECT_TRUE(onlyMedia()->needsVideoDownload()) << sizesRecorded;
        EXPECT_FALSE(onlyMedia()->videoData().has_value());
    }
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_TRUE(onlyMedia()->needsVideoDownload());

    const QString download = home.path() + QStringLiteral("/dl-again");
    QFile again(download);
    ASSERT_TRUE(again.open(QIODevice::WriteOnly) && again.write(bytes) == bytes.size());
    again.close();
    onlyMedia()->adoptVideo(download);
    container->mainContext().save();
    reopen();
    EXPECT_EQ(onlyMedia()->videoData(), bytes);
}

TEST_F(StoredMediaTest, ADeletedMediumTakesNoFileIntoTheStore)
{
    auto video = insertVideo();
    container->mainContext().save();
    container->mainContext().remove(video);
    const QString download = home.path() + QStringLiteral("/dl-late");
    QFile late(download);
    ASSERT_TRUE(late.open(QIODevice::WriteOnly) && late.write("v") == 1);
    late.close();
    EXPECT_THROW(video->adoptVideo(download), StoreError);
    EXPECT_TRUE(QFile::exists(download));
    EXPECT_TRUE(QDir(container->supportDirectory()).isEmpty());
}

} // namespace
