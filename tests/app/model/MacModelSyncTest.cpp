#include "BackupCoder.h"
#include "Text.h"
#include "Clock.h"
#include "Media.h"
#include "MediaFolder.h"
#include "ModelFixture.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class MacModelSyncTest : public ModelTest {
protected:
    MacModelSyncTest()
    {
        folder = chooseFolder();
        // Toasts stay while a sync's repair pass runs.
        MacModel::Delays delays = shortDelays();
        delays.toast = std::chrono::seconds(30);
        makeModel(delays);
    }

    QString latestPath() const { return folder + QLatin1Char('/') + BackupFolder::latestName; }
    Backup::File latest() const
    {
        QFile file(latestPath());
        return file.open(QIODevice::ReadOnly) ? Backup::decode(file.readAll()) : Backup::File();
    }
    void writeLatest(const QByteArray &bytes) const
    {
        QFile file(latestPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static Backup::PostRecord phonePost(const QString &link)
    {
        Backup::PostRecord record;
        record.id = QUuid::createUuid();
        record.sourceURL = link;
        record.platform = QStringLiteral("web");
        record.createdAt = record.updatedAt = Clock::now();
        record.parseState = QStringLiteral("parsed");
        return record;
    }
    void sync(bool manual) { TestAsync::waitFor(model->sync(manual)); }
    std::shared_ptr<Post> find(const QUuid &id)
    {
        FetchDescriptor<Post> descriptor;
        descriptor.predicate = [&](const Post &post) { return post.id() == id; };
        const auto found = context().fetch(descriptor);
        return found.isEmpty() ? nullptr : found.first();
    }
    // A media file the phone backed up.
    void putMediaFile(const QUuid &mediaID) const
    {
        QDir().mkpath(mediaFolder());
        QFile file(mediaFolder() + QLatin1Char('/') + MediaFolder::imageName(mediaID));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(image());
    }
    QString mediaFolder() const { return folder + QLatin1Char('/') + MediaBackup::folderName; }
    static QByteArray image()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return buffer.data();
    }

    QString folder;
};

TEST_F(MacModelSyncTest, TellsWhatArrivedFromThePhone)
{
    const auto gone = addPost(QStringLiteral("https://127.0.0.1:9/gone"));
    sync(true);
    EXPECT_EQ(model->toast(), QStringLiteral("已同步，没有新的变化"));

    Backup::File phone = latest();
    phone.posts = {phonePost(QStringLiteral("https://127.0.0.1:9/a")),
                   phonePost(QStringLiteral("https://127.0.0.1:9/b"))};
    phone.tombstones = Backup::DateMap{{Text::uuidText(gone->id()), Clock::now().addDays(1)}};
    writeLatest(Backup::encode(phone));
    sync(false);
    EXPECT_EQ(model->toast(), QStringLiteral("已从 iPhone 同步：新增 2，删除 1"));
    EXPECT_EQ(context().fetch<Post>().size(), 2);
}

TEST_F(MacModelSyncTest, IncomingPostsTakeTheirMediaFromTheFolder)
{
    addPost(QStringLiteral("https://127.0.0.1:9/local"));
    sync(true);
    Backup::File phone = latest();
    auto withImage = [&](Backup::PostRecord post, bool backedUp) {
        Backup::MediaRecord media{QUuid::createUuid(), QStringLiteral("image")};
        if (!post.sourceURL.isEmpty())
            media.remoteURL = post.sourceURL + QStringLiteral(".jpg");
        post.media = {media};
        if (backedUp)
            putMediaFile(media.id);
        return post;
    };
    Backup::PostRecord note = phonePost(QString());
    note.platform = QStringLiteral("local");
    const auto restored = withImage(phonePost(QStringLiteral("https://127.0.0.1:9/restored")), true);
    const auto missing = withImage(phonePost(QStringLiteral("https://127.0.0.1:9/missing")), false);
    note = withImage(note, true);
    phone.posts << restored << missing << note;
    writeLatest(Backup::encode(phone));
    sync(false);

    EXPECT_EQ(find(restored.id)->parseState(), ParseState::parsed);
    EXPECT_TRUE(find(restored.id)->media().first()->hasImageData());
    EXPECT_TRUE(find(note.id)->media().first()->hasImageData());
    EXPECT_EQ(find(note.id)->parseState(), ParseState::parsed);
    // Parsed again from its link, which here cannot be reached.
    EXPECT_TRUE(settle([&] { return find(missing.id)->parseState() == ParseState::failed; }));
}

TEST_F(MacModelSyncTest, AFailedSyncStillBacksMediaUp)
{
    TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
    const auto post = addPost(QStringLiteral("https://127.0.0.1:9/a"));
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    media->setImage(image());
    post->setMedia({media});
    context().save();
    writeLatest("{ damaged");
    sync(false);
    ASSERT_TRUE(model->syncError());
    EXPECT_TRUE(settle([&] {
        return QFile::exists(mediaFolder() + QLatin1Char('/') + MediaFolder::imageName(media->id()));
    }));
}

TEST_F(MacModelSyncTest, AutomaticSyncsAreQuietAndObeyTheSwitch)
{
    addPost(QStringLiteral("https://127.0.0.1:9/a"));
    TamselStore::defaults().setBool(BackupFolder::autoKey, false);
    sync(false);
    EXPECT_FALSE(model->lastSync());
    EXPECT_FALSE(QFile::exists(latestPath()));

    TamselStore::defaults().setBool(BackupFolder::autoKey, true);
    sync(false);
    EXPECT_TRUE(model->lastSync());
    EXPECT_FALSE(model->toast());
    EXPECT_TRUE(QFile::exists(latestPath()));
}

TEST_F(MacModelSyncTest, APausedFolderLeavesTheLastSyncTime)
{
    BackupFolder::setPaused(true);
    sync(true);
    EXPECT_FALSE(model->lastSync());
    EXPECT_FALSE(model->syncError());
}

TEST_F(MacModelSyncTest, ASyncAskedForDuringASyncDoesNotRun)
{
    addPost(QStringLiteral("https://127.0.0.1:9/a"));
    int nestedCalls = 0;
    QSignalSpy syncing(model.get(), &MacModel::syncingChanged);
    QObject::connect(model.get(), &MacModel::syncingChanged, [&] {
        if (model->syncing() && nestedCalls++ == 0)
            sync(true);
    });
    sync(true);
    EXPECT_EQ(nestedCalls, 1);
    EXPECT_EQ(syncing.count(), 2);
    EXPECT_FALSE(model->syncing());
}

TEST_F(MacModelSyncTest, FailuresAreKeptAndToldOnlyWhenAskedFor)
{
    addPost(QStringLiteral("https://127.0.0.1:9/a"));
    writeLatest("{ damaged");
    sync(false);
    ASSERT_TRUE(model->syncError());
    EXPECT_FALSE(model->toast());
    EXPECT_FALSE(model->lastSync());

    Backup::File newer;
    newer.version = Backup::formatVersion + 1;
    newer.exportedAt = Clock::now();
    writeLatest(Backup::encode(newer));
    sync(true);
    EXPECT_EQ(model->toast(), QStringLiteral("同步失败：") + *model->syncError());

    QFile::remove(latestPath());
    sync(false);
    EXPECT_FALSE(model->syncError());

    QDir(folder).removeRecursively();
    sync(false);
    EXPECT_EQ(model->syncError(), BackupFolder::FolderError(BackupFolder::FolderError::notSet).message());
}

TEST_F(MacModelSyncTest, QuittingMakesPendingDeletesFinalBeforeTheLastWrite)
{
    const auto kept = addPost(QStringLiteral("https://127.0.0.1:9/kept"));
    const auto deleted = addPost(QStringLiteral("https://127.0.0.1:9/deleted"));
    sync(true);
    ASSERT_EQ(latest().posts.size(), 2);

    model->pendingDelete().start({deleted}, 5);
    model->aboutToQuit();
    const auto posts = latest().posts;
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts.first().id, kept->id());
}

TEST_F(MacModelSyncTest, AChosenFolderIsResumedAndSyncedAtOnce)
{
    addPost(QStringLiteral("https://127.0.0.1:9/a"));
    BackupFolder::setPaused(true);
    model->useFolder(home.path() + QStringLiteral("/missing"));
    EXPECT_EQ(model->toast(), BackupFolder::FolderError(BackupFolder::FolderError::noAccess).message());
    EXPECT_TRUE(BackupFolder::isPaused());

    const QString other = home.path() + QStringLiteral("/other");
    QDir().mkpath(other);
    model->useFolder(other);
    EXPECT_FALSE(BackupFolder::isPaused());
    EXPECT_TRUE(
        settle([&] { return QFile::exists(other + QStringLiteral("/Kepsel/") + BackupFolder::latestName); }));
}

} // namespace
