#include "MediaBackup.h"

#include "BackupCoder.h"
#include "BackupFolder.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "ResourceLimit.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "WaitFor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class MediaBackupTest : public HomeTest {
protected:
    MediaBackupTest()
    {
        BackupFolder::resetLegacyMigrationForTesting();
        QDir().mkpath(mediaFolder);
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

    // A saved post whose media have links and lack their bytes.
    std::shared_ptr<Post> addPost(int mediaCount, MediaKind kind = MediaKind::image)
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
        QList<std::shared_ptr<Media>> media;
        for (int order = 0; order < mediaCount; ++order) {
            media.append(std::make_shared<Media>(kind, order));
            media.last()->setRemoteURL(QStringLiteral("https://wx1.sinaimg.cn/%1.jpg").arg(order));
            media.last()->setVideoRemoteURL(QStringLiteral("https://video.weibo.com/%1.mp4").arg(order));
        }
        post->setMedia(media);
        context().insert(post);
        context().save();
        return post;
    }

    static QString jpg(const QUuid &id) { return MediaFolder::imageName(id); }
    static QString mp4(const QUuid &id) { return MediaFolder::videoName(id); }
    QString mediaPath(const QString &name) const { return mediaFolder + QLatin1Char('/') + name; }
    bool has(const QString &name) const { return QFile::exists(mediaPath(name)); }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void putFile(const QString &name, const QByteArray &bytes = "bytes") const
    {
        write(mediaPath(name), bytes);
    }
    QByteArray fileAt(const QString &name) const
    {
        QFile file(mediaPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // A backup document with one post holding media of these ids.
    void writeBackupFile(const QString &name, const QList<QUuid> &mediaIDs) const
    {
        Backup::File file;
        file.exportedAt = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        Backup::PostRecord post{QUuid::createUuid()};
        post.createdAt = post.updatedAt = file.exportedAt;
        for (const QUuid &id : mediaIDs)
            post.media.append({id, QStringLiteral("image")});
        file.posts = {post};
        write(folder + QLatin1Char('/') + name, Backup::encode(file));
    }

    const QString folder = home.path() + QStringLiteral("/drive/Kepsel");
    const QString mediaFolder = folder + QStringLiteral("/媒体");
    const QString daily = BackupFolder::dailyPrefix + QStringLiteral("2024-05-01.json");
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
};

TEST_F(MediaBackupTest, WritesOnlyMissingFilesAndCountsThem)
{
    const auto both = addMedium(QByteArray("image"), QByteArray("video"));
    const auto placeheld = addMedium(QByteArray("placeheld"));
    const auto present = addMedium(QByteArray("new bytes"));
    addMedium(std::nullopt);
    context().save();
    const auto unsaved = addMedium(std::nullopt, QByteArray("unsaved video"));
    putFile(BackupFolder::placeholderName(jpg(placeheld->id())), "");
    putFile(jpg(present->id()), "old bytes");

    runBackup();
    EXPECT_EQ(fileAt(mp4(both->id())), "video");
    EXPECT_EQ(fileAt(mp4(unsaved->id())), "unsaved video");
    EXPECT_FALSE(has(jpg(placeheld->id())));
    EXPECT_EQ(fileAt(jpg(present->id())), "old bytes");

    // Files are never rewritten, also when the bytes changed since.
    both->setImage(QByteArray("changed"));
    context().save();
    runBackup();
    EXPECT_EQ(fileAt(jpg(both->id())), "image");
}

TEST_F(MediaBackupTest, RemovesOnlyFilesNoReadableBackupFileNames)
{
    const auto library = addMedium(QByteArray("library"));
    context().save();
    const QUuid inLatest = QUuid::createUuid(), inDaily = QUuid::createUuid(), orphan = QUuid::createUuid();
    for (const QString &name : {jpg(inLatest), mp4(inDaily), jpg(orphan),
                                BackupFolder::placeholderName(mp4(orphan)), QStringLiteral("desktop.ini")})
        putFile(name);

    // Without the latest file, the other devices' media are known nowhere here.
    runBackup();
    writeBackupFile(daily, {inDaily});
    runBackup();
    EXPECT_TRUE(has(jpg(orphan)));
    writeBackupFile(BackupFolder::latestName, {inLatest});
    runBackup();
    EXPECT_TRUE(has(jpg(library->id())) && has(jpg(inLatest)) && has(mp4(inDaily)));
    EXPECT_TRUE(has(QStringLiteral("desktop.ini")));
    EXPECT_FALSE(has(jpg(orphan)));

    // One unreadable copy holds back every removal.
    writeBackupFile(daily, {});
    write(folder + QLatin1Char('/') + BackupFolder::dailyPrefix + QStringLiteral("2024-05-02.json"),
          R"({"version":1,"posts":[{"media":[{"id":"../../x"}]}]})");
    runBackup();
    EXPECT_TRUE(has(mp4(inDaily)));
    QFile::remove(folder + QLatin1Char('/') + BackupFolder::dailyPrefix + QStringLiteral("2024-05-02.json"));
    runBackup();
    EXPECT_FALSE(has(mp4(inDaily)));
}

TEST_F(MediaBackupTest, AFailedWriteStopsTheRunLogsAndRemovesNothing)
{
    QList<std::shared_ptr<Media>> media;
    for (int i = 0; i < 5; ++i)
        media.append(addMedium(QByteArray::number(i)));
    context().save();
    writeBackupFile(BackupFolder::latestName, {});
    putFile(jpg(QUuid::createUuid()));
    // A folder in the way of the third file makes its write fail.
    const auto connection = QObject::connect(&backup(), &MediaBackup::doneChanged, [&](int done) {
        if (done == 2)
            QDir().mkpath(mediaPath(jpg(media[2]->id())) + QStringLiteral("/x"));
    });
    runBackup();
    QObject::disconnect(connection);

    // The row shows the user's words, naming the file.
    EXPECT_TRUE(backup().lastError().value_or(QString()).startsWith(
        QStringLiteral("无法写入“%1”：").arg(jpg(media[2]->id()))))
        << backup().lastError().value_or(QString()).toStdString();
    EXPECT_FALSE(has(jpg(media[3]->id())));
    EXPECT_EQ(QDir(mediaFolder).count(), 2 + 4u);
}

TEST_F(MediaBackupTest, AMediaFolderThatCannotBeMadeIsToldInTheUsersWords)
{
    addMedium(QByteArray("bytes"));
    context().save();
    QDir(mediaFolder).removeRecursively();
    write(mediaFolder, "a file in the folder's place");
    runBackup();
    EXPECT_EQ(backup().lastError(), QStringLiteral("无法新建文件夹“媒体”：路径里有一项不是文件夹"));
}

// The lowest descriptor number free now: below it, as a limit, no file
// can be opened, as in a process that used up its descriptors.
rlim_t lowestFreeDescriptor()
{
    const int lowest = ::dup(0);
    ::close(lowest);
    return rlim_t(lowest);
}

TEST_F(MediaBackupTest, AStoredFileThatCannotBeReadIsAFailedWrite)
{
    const auto medium = addMedium(QByteArray("image"));
    context().save();
    std::optional<ResourceLimit> exhausted;
    // Once the work is listed, so only reading the stored file can fail.
    const auto connection = QObject::connect(&backup(), &MediaBackup::totalChanged, [&](int total) {
        if (total == 1)
            exhausted.emplace(RLIMIT_NOFILE, lowestFreeDescriptor());
    });
    runBackup();
    QObject::disconnect(connection);
    exhausted.reset();

    ASSERT_TRUE(backup().lastError());
    // In the user's words, naming the stored file.
    EXPECT_EQ(
        *backup().lastError(),
        QStringLiteral("无法读取“%1”：打开的文件太多").arg(QFileInfo(*medium->dataFilePath()).fileName()));
    EXPECT_EQ(backup().done(), 0);
    EXPECT_FALSE(has(jpg(medium->id())));
}

TEST_F(MediaBackupTest, ARunThatMayNotStartChangesNothing)
{
    const auto medium = addMedium(QByteArray("bytes"));
    context().save();
    const auto lastError = backup().lastError();
    QSignalSpy runningSpy(&backup(), &MediaBackup::runningChanged);
    TamselStore::defaults().setBool(BackupFolder::pausedKey, true);
    runBackup();
    TamselStore::defaults().remove(BackupFolder::pausedKey);
    TamselStore::defaults().setBool(MediaBackup::enabledKey, false);
    runBackup();
    EXPECT_EQ(runningSpy.count(), 0);
    EXPECT_EQ(backup().lastError(), lastError);
    EXPECT_FALSE(has(jpg(medium->id())));
}

TEST_F(MediaBackupTest, RestoreFillsMissingBytesAndReportsCompletePosts)
{
    // Neither the setting nor a pause holds a restore back.
    TamselStore::defaults().setBool(MediaBackup::enabledKey, false);
    TamselStore::defaults().setBool(BackupFolder::pausedKey, true);
    const auto partial = addPost(2, MediaKind::livePhoto);
    const auto first = partial->sortedMedia()[0], second = partial->sortedMedia()[1];
    putFile(jpg(first->id()), "picture");
    putFile(mp4(first->id()), "motion");
    const auto linkless = std::make_shared<Media>(MediaKind::image, 0);
    auto note = std::make_shared<Post>(QString(), Platform::local);
    note->setMedia({linkless});
    context().insert(note);
    putFile(mp4(linkless->id()), "sound");
    const auto complete = addPost(1);
    complete->media()[0]->setImage(QByteArray("kept"));
    putFile(jpg(complete->media()[0]->id()), "from folder");
    const auto bare = addPost(0);
    context().save();

    const auto restored =
        restore({partial->id(), note->id(), complete->id(), bare->id(), QUuid::createUuid()});
    EXPECT_EQ(restored, (QSet<QUuid>{note->id(), complete->id(), bare->id()}));
    EXPECT_EQ(first->videoData(), "motion");
    EXPECT_EQ(complete->media()[0]->data(), "kept");

    putFile(jpg(second->id()));
    putFile(mp4(second->id()));
    EXPECT_EQ(restore({partial->id()}), QSet<QUuid>{partial->id()});
}

TEST_F(MediaBackupTest, RestoreSkipsPostsDeletedMeanwhileAndUnreadableFiles)
{
    const auto kept = addPost(1), deleted = addPost(1), waiting = addPost(1), linked = addPost(1);
    const auto deletedMedium = deleted->media()[0];
    putFile(jpg(kept->media()[0]->id()));
    putFile(jpg(deletedMedium->id()));
    // Not downloaded yet: only the placeholder is there.
    putFile(BackupFolder::placeholderName(jpg(waiting->media()[0]->id())), "");
    // A link could bring any of the user's files into the library.
    write(home.path() + QStringLiteral("/secret"), "secret");
    QFile::link(home.path() + QStringLiteral("/secret"), mediaPath(jpg(linked->media()[0]->id())));
    QCoreApplication::processEvents();
    // The first post's restore announces a change while the second's file is read.
    QObject::connect(&context(), &ModelContext::changed, [&] {
        if (!deleted->isGone())
            context().remove(deleted);
    });

    EXPECT_EQ(restore({kept->id(), deleted->id(), waiting->id(), linked->id()}), QSet<QUuid>{kept->id()});
    EXPECT_FALSE(deletedMedium->hasImageData());
    EXPECT_FALSE(linked->media()[0]->hasImageData());
}

} // namespace
