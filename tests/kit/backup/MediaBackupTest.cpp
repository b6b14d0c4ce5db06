#include "MediaBackup.h"

#include "BackupCoder.h"
#include "BackupFolder.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QStringList logLines;

class MediaBackupTest : public HomeTest {
protected:
    MediaBackupTest()
    {
        BackupFolder::resetLegacyMigrationForTesting();
        QDir().mkpath(folder);
        BackupFolder::setFolder(folder);
        TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
    }

    ModelContext &context() { return container->mainContext(); }
    static MediaBackup &backup() { return MediaBackup::shared(); }
    void runBackup() { QCoro::waitFor(backup().run(context())); }
    QSet<QUuid> restore(const QList<QUuid> &ids)
    {
        return TestAsync::waitFor(backup().restore(ids, context()));
    }

    std::shared_ptr<Media> addMedium(const std::optional<QByteArray> &image,
                                     const std::optional<QByteArray> &video = std::nullopt)
    {
        auto medium = std::make_shared<Media>(MediaKind::video, 0);
        medium->setImage(image);
        medium->setVideo(video);
        context().insert(medium);
        return medium;
    }

    // A post whose media have links and still lack their bytes.
    std::shared_ptr<Post> addPostToRestore(int mediaCount, MediaKind kind = MediaKind::image)
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
        QList<std::shared_ptr<Media>> media;
        for (int order = 0; order < mediaCount; ++order) {
            auto medium = std::make_shared<Media>(kind, order);
            medium->setRemoteURL(QStringLiteral("https://wx1.sinaimg.cn/%1.jpg").arg(order));
            if (kind != MediaKind::image)
                medium->setVideoRemoteURL(QStringLiteral("https://video.weibo.com/%1.mp4").arg(order));
            media.append(medium);
        }
        post->setMedia(media);
        context().insert(post);
        context().save();
        return post;
    }

    QString mediaPath(const QString &name) const { return mediaFolder + QLatin1Char('/') + name; }
    void putFile(const QString &name, const QByteArray &bytes = "bytes") const
    {
        QDir().mkpath(mediaFolder);
        QFile file(mediaPath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileAt(const QString &name) const
    {
        QFile file(mediaPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A backup document with one post holding media of the given ids.
    void writeBackupFile(const QString &name, const QList<QUuid> &mediaIDs) const
    {
        const QDateTime time = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        Backup::PostRecord post;
        post.id = QUuid::createUuid();
        post.createdAt = post.updatedAt = time;
        for (const QUuid &id : mediaIDs)
            post.media.append({id, QStringLiteral("image")});
        Backup::File file;
        file.exportedAt = time;
        file.posts = {post};
        QFile out(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(Backup::encode(file));
    }

    static QByteArray jpeg()
    {
        QImage image(32, 24, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return buffer.data();
    }

    const QString folder = home.path() + QStringLiteral("/drive/Kepsel");
    const QString mediaFolder = folder + QStringLiteral("/媒体");
    const QString latest = BackupFolder::latestName;
    const QString daily = BackupFolder::dailyPrefix + QStringLiteral("2024-05-01.json");
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
};

TEST_F(MediaBackupTest, WritesOnlyMissingFilesAndCountsThem)
{
    const auto both = addMedium(QByteArray("both image"), QByteArray("both video"));
    const auto placeheld = addMedium(QByteArray("placeheld"));
    const auto present = addMedium(QByteArray("new bytes"));
    const auto empty = addMedium(std::nullopt);
    context().save();
    const auto unsaved = addMedium(std::nullopt, QByteArray("unsaved video"));
    putFile(BackupFolder::placeholderName(MediaFolder::imageName(placeheld->id())), "");
    putFile(MediaFolder::imageName(present->id()), "old bytes");

    QSignalSpy doneSpy(&backup(), &MediaBackup::doneChanged);
    runBackup();
    EXPECT_EQ(backup().total(), 3);
    EXPECT_EQ(backup().done(), 3);
    EXPECT_GE(doneSpy.count(), 3);
    EXPECT_FALSE(backup().running());
    EXPECT_EQ(backup().lastError(), std::nullopt);
    EXPECT_EQ(fileAt(MediaFolder::imageName(both->id())), QByteArray("both image"));
    EXPECT_EQ(fileAt(MediaFolder::videoName(both->id())), QByteArray("both video"));
    EXPECT_EQ(fileAt(MediaFolder::videoName(unsaved->id())), QByteArray("unsaved video"));
    EXPECT_FALSE(QFile::exists(mediaPath(MediaFolder::imageName(placeheld->id()))));
    EXPECT_EQ(fileAt(MediaFolder::imageName(present->id())), QByteArray("old bytes"));
    EXPECT_FALSE(QFile::exists(mediaPath(MediaFolder::imageName(empty->id()))));

    // Files are never rewritten, also when the bytes changed since.
    both->setImage(QByteArray("changed"));
    context().save();
    runBackup();
    EXPECT_EQ(backup().total(), 0);
    EXPECT_EQ(backup().done(), 0);
    EXPECT_EQ(fileAt(MediaFolder::imageName(both->id())), QByteArray("both image"));
}

TEST_F(MediaBackupTest, PruningKeepsWhatTheLibraryOrAnyBackupFileNames)
{
    const auto library = addMedium(QByteArray("library"));
    context().save();
    const QUuid inLatest = QUuid::createUuid(), inDaily = QUuid::createUuid(), orphan = QUuid::createUuid();
    writeBackupFile(latest, {inLatest});
    writeBackupFile(daily, {inDaily});
    putFile(MediaFolder::imageName(inLatest));
    putFile(MediaFolder::videoName(inDaily));
    putFile(MediaFolder::imageName(orphan));
    putFile(BackupFolder::placeholderName(MediaFolder::videoName(orphan)));
    putFile(QStringLiteral("desktop.ini"));

    runBackup();
    EXPECT_TRUE(QFile::exists(mediaPath(MediaFolder::imageName(library->id()))));
    EXPECT_TRUE(QFile::exists(mediaPath(MediaFolder::imageName(inLatest))));
    EXPECT_TRUE(QFile::exists(mediaPath(MediaFolder::videoName(inDaily))));
    EXPECT_TRUE(QFile::exists(mediaPath(QStringLiteral("desktop.ini"))));
    EXPECT_FALSE(QFile::exists(mediaPath(MediaFolder::imageName(orphan))));
    EXPECT_FALSE(QFile::exists(mediaPath(BackupFolder::placeholderName(MediaFolder::videoName(orphan)))));

    // Once no backup file names it any more, the next run removes it.
    writeBackupFile(daily, {});
    runBackup();
    EXPECT_FALSE(QFile::exists(mediaPath(MediaFolder::videoName(inDaily))));
    EXPECT_TRUE(QFile::exists(mediaPath(MediaFolder::imageName(inLatest))));
}

TEST_F(MediaBackupTest, NothingIsRemovedWhenTheBackupFilesCannotAllBeRead)
{
    const auto library = addMedium(QByteArray("library"));
    context().save();
    const QString orphan = MediaFolder::imageName(QUuid::createUuid());
    putFile(orphan);

    // No backup file at all, then only a daily copy: the latest file's media are unknown.
    runBackup();
    writeBackupFile(daily, {});
    runBackup();
    // An unreadable copy, for example one naming a medium by a path.
    writeBackupFile(latest, {});
    QFile bad(folder + QLatin1Char('/') + BackupFolder::dailyPrefix + QStringLiteral("2024-05-02.json"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(R"({"version":1,"posts":[{"media":[{"id":"../../etc/passwd"}]}]})");
    bad.close();
    runBackup();

    EXPECT_TRUE(QFile::exists(mediaPath(orphan)));
    EXPECT_EQ(fileAt(MediaFolder::imageName(library->id())), QByteArray("library"));
    EXPECT_EQ(backup().lastError(), std::nullopt);
}

TEST_F(MediaBackupTest, AFailedWriteStopsTheRunLogsAndRemovesNothing)
{
    QList<std::shared_ptr<Media>> media;
    for (int i = 0; i < 5; ++i)
        media.append(addMedium(QByteArray::number(i)));
    context().save();
    writeBackupFile(latest, {});
    const QString orphan = MediaFolder::imageName(QUuid::createUuid());
    putFile(orphan);
    // A folder in the way of the third file makes its write fail.
    QObject::connect(&backup(), &MediaBackup::doneChanged, [&](int done) {
        if (done == 2)
            QDir().mkpath(mediaPath(MediaFolder::imageName(media[2]->id())) + QStringLiteral("/x"));
    });
    logLines.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { logLines.append(message); });
    runBackup();
    qInstallMessageHandler(previous);
    QObject::disconnect(&backup(), &MediaBackup::doneChanged, nullptr, nullptr);

    EXPECT_EQ(backup().done(), 2);
    EXPECT_EQ(backup().total(), 5);
    EXPECT_FALSE(backup().running());
    ASSERT_TRUE(backup().lastError());
    ASSERT_EQ(logLines.size(), 1);
    EXPECT_EQ(logLines[0], QStringLiteral("media backup failed: ") + *backup().lastError());
    EXPECT_FALSE(QFile::exists(mediaPath(MediaFolder::imageName(media[3]->id()))));
    EXPECT_TRUE(QFile::exists(mediaPath(orphan)));
}

TEST_F(MediaBackupTest, ARunThatMayNotStartChangesNothing)
{
    const auto medium = addMedium(QByteArray("bytes"));
    context().save();
    const auto lastError = backup().lastError();
    const int total = backup().total();
    QSignalSpy runningSpy(&backup(), &MediaBackup::runningChanged);

    TamselStore::defaults().setBool(BackupFolder::pausedKey, true);
    runBackup();
    TamselStore::defaults().remove(BackupFolder::pausedKey);
    TamselStore::defaults().setBool(MediaBackup::enabledKey, false);
    runBackup();
    TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
    QDir(folder).removeRecursively();
    runBackup();

    EXPECT_EQ(runningSpy.count(), 0);
    EXPECT_EQ(backup().lastError(), lastError);
    EXPECT_EQ(backup().total(), total);
    EXPECT_FALSE(QFile::exists(mediaFolder));

    // A second run while one is in progress returns at once.
    QDir().mkpath(folder);
    auto first = backup().run(context());
    EXPECT_TRUE(backup().running());
    EXPECT_TRUE(backup().run(context()).isReady());
    QCoro::waitFor(std::move(first));
    EXPECT_TRUE(QFile::exists(mediaPath(MediaFolder::imageName(medium->id()))));
}

TEST_F(MediaBackupTest, RestoreFillsMissingBytesAndReportsCompletePosts)
{
    // Neither the setting nor a pause holds a restore back.
    TamselStore::defaults().setBool(MediaBackup::enabledKey, false);
    TamselStore::defaults().setBool(BackupFolder::pausedKey, true);
    const auto partial = addPostToRestore(2, MediaKind::livePhoto);
    const auto first = partial->sortedMedia()[0], second = partial->sortedMedia()[1];
    putFile(MediaFolder::imageName(first->id()), jpeg());
    putFile(MediaFolder::videoName(first->id()), "motion");
    const auto linkless = std::make_shared<Media>(MediaKind::image, 0);
    auto unlinked = std::make_shared<Post>(QString(), Platform::local);
    unlinked->setMedia({linkless});
    context().insert(unlinked);
    putFile(MediaFolder::videoName(linkless->id()), "sound");
    const auto complete = addPostToRestore(1);
    complete->media()[0]->setImage(QByteArray("kept"));
    putFile(MediaFolder::imageName(complete->media()[0]->id()), "from folder");
    const auto bare = addPostToRestore(0);
    context().save();

    const auto restored =
        restore({partial->id(), unlinked->id(), complete->id(), bare->id(), QUuid::createUuid()});
    EXPECT_EQ(restored, (QSet<QUuid>{unlinked->id(), complete->id(), bare->id()}));
    EXPECT_EQ(first->data(), jpeg());
    EXPECT_TRUE(first->thumbnail());
    EXPECT_EQ(first->dataSize(), jpeg().size());
    EXPECT_EQ(first->videoData(), QByteArray("motion"));
    EXPECT_EQ(first->videoSize(), 6);
    EXPECT_FALSE(second->hasImageData());
    EXPECT_EQ(linkless->videoData(), QByteArray("sound"));
    EXPECT_EQ(complete->media()[0]->data(), QByteArray("kept"));
    EXPECT_FALSE(context().hasChanges());

    putFile(MediaFolder::imageName(second->id()), jpeg());
    putFile(MediaFolder::videoName(second->id()), "motion");
    EXPECT_EQ(restore({partial->id()}), QSet<QUuid>{partial->id()});
}

TEST_F(MediaBackupTest, RestoreSkipsPostsDeletedMeanwhileAndUnreadableFiles)
{
    const auto kept = addPostToRestore(1);
    const auto deleted = addPostToRestore(1);
    const auto waiting = addPostToRestore(1);
    const auto deletedMedium = deleted->media()[0];
    putFile(MediaFolder::imageName(kept->media()[0]->id()), jpeg());
    putFile(MediaFolder::imageName(deletedMedium->id()), jpeg());
    // Only the placeholder: the file is not downloaded yet.
    putFile(BackupFolder::placeholderName(MediaFolder::imageName(waiting->media()[0]->id())), "");
    QCoreApplication::processEvents();
    // The first post's restore announces a change while the second's file is read.
    QObject::connect(&context(), &ModelContext::changed, [&] {
        if (!deleted->isGone())
            context().remove(deleted);
    });

    EXPECT_EQ(restore({kept->id(), deleted->id(), waiting->id()}), QSet<QUuid>{kept->id()});
    EXPECT_TRUE(deleted->isGone());
    EXPECT_FALSE(deletedMedium->hasImageData());
    EXPECT_FALSE(waiting->media()[0]->hasImageData());

    QDir(mediaFolder).removeRecursively();
    EXPECT_EQ(restore({kept->id()}), QSet<QUuid>());
}

} // namespace
