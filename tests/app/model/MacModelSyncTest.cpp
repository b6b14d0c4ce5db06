#include "BackupCoder.h"
#include "Clock.h"
#include "Media.h"
#include "MediaFolder.h"
#include "ModelFixture.h"
#include "TestImages.h"
#include "Text.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class MacModelSyncTest : public ModelTest {
protected:
    MacModelSyncTest()
    {
        chooseFolder();
        makeModel();
        addPost(QStringLiteral("https://127.0.0.1:9/local"));
    }

    QString path(const QString &name) const { return folder + QLatin1Char('/') + name; }
    Backup::File latest() const
    {
        QFile file(path(BackupFolder::latestName));
        return file.open(QIODevice::ReadOnly) ? Backup::decode(file.readAll()) : Backup::File();
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // A post from the phone with one image, whose file the phone backed up or not.
    Backup::PostRecord phonePost(const QString &link, bool backedUp = false) const
    {
        Backup::PostRecord post;
        post.id = QUuid::createUuid();
        post.sourceURL = link;
        post.platform = link.isEmpty() ? QStringLiteral("local") : QStringLiteral("web");
        post.createdAt = post.updatedAt = Clock::now();
        post.parseState = QStringLiteral("parsed");
        Backup::MediaRecord media;
        media.id = QUuid::createUuid();
        media.kind = QStringLiteral("image");
        media.remoteURL = link.isEmpty() ? QString() : link + QStringLiteral(".jpg");
        post.media = {media};
        if (backedUp)
            write(MediaBackup::folderName + QLatin1Char('/') + MediaFolder::imageName(post.media[0].id),
                  image());
        return post;
    }
    static QByteArray image() { return TestImages::encoded(8, 8, Qt::darkRed, "png"); }
    void sync(bool manual) { TestAsync::waitFor(model->sync(manual)); }

    const QString folder = home.path() + QStringLiteral("/shared/Kepsel");
};

TEST_F(MacModelSyncTest, TellsWhatArrivedAndRestoresTheMediaOfIncomingPosts)
{
    sync(true);
    Backup::File phone = latest();
    const QUuid local = phone.posts.first().id;
    const auto restored = phonePost(QStringLiteral("https://127.0.0.1:9/restored"), true);
    const auto missing = phonePost(QStringLiteral("https://127.0.0.1:9/missing"));
    const auto note = phonePost(QString(), true);
    phone.posts = {restored, missing, note};
    phone.tombstones = Backup::DateMap{{Text::uuidText(local), Clock::now().addDays(1)}};
    write(BackupFolder::latestName, Backup::encode(phone));
    sync(false);

    EXPECT_FALSE(find(local));
    EXPECT_EQ(find(restored.id)->parseState(), ParseState::parsed);
    EXPECT_TRUE(find(restored.id)->media().first()->hasImageData());
    EXPECT_TRUE(find(note.id)->media().first()->hasImageData());
    // Parsed again from its link, which cannot be reached here.
    EXPECT_TRUE(settle([&] { return find(missing.id)->parseState() == ParseState::failed; }));
}

TEST_F(MacModelSyncTest, AutomaticSyncsAreQuietObeyTheSwitchAndNeverOverlap)
{
    TamselStore::defaults().setBool(BackupFolder::autoKey, false);
    sync(false);
    EXPECT_FALSE(model->lastSync());
    TamselStore::defaults().setBool(BackupFolder::autoKey, true);
    BackupFolder::setPaused(true);
    sync(true);
    EXPECT_FALSE(model->lastSync());
    BackupFolder::setPaused(false);

    QSignalSpy syncing(model.get(), &MacModel::syncingChanged);
    int nested = 0;
    QObject::connect(model.get(), &MacModel::syncingChanged, [&] {
        if (model->syncing() && nested++ == 0)
            sync(true);
    });
    sync(false);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(syncing.count(), 2);
    EXPECT_TRUE(model->lastSync());
    EXPECT_FALSE(model->toast());
}

TEST_F(MacModelSyncTest, FailuresAreKeptToldWhenAskedForAndStillBackMediaUp)
{
    TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    media->setImage(image());
    context().fetch<Post>().first()->setMedia({media});
    context().save();
    write(BackupFolder::latestName, "{ damaged");
    sync(false);
    ASSERT_TRUE(model->syncError());
    EXPECT_FALSE(model->toast());
    EXPECT_FALSE(model->lastSync());
    EXPECT_TRUE(settle([&] {
        return QFile::exists(path(MediaBackup::folderName + "/" + MediaFolder::imageName(media->id())));
    }));

    Backup::File newer;
    newer.version = Backup::formatVersion + 1;
    newer.exportedAt = Clock::now();
    write(BackupFolder::latestName, Backup::encode(newer));
    sync(true);
    EXPECT_EQ(model->toast(), QStringLiteral("同步失败：") + *model->syncError());

    QFile::remove(path(BackupFolder::latestName));
    sync(false);
    EXPECT_FALSE(model->syncError());
}

TEST_F(MacModelSyncTest, QuittingMakesPendingDeletesFinalBeforeTheLastWrite)
{
    const auto deleted = addPost(QStringLiteral("https://127.0.0.1:9/deleted"));
    sync(true);
    ASSERT_EQ(latest().posts.size(), 2);
    model->pendingDelete().start({deleted}, 5);
    model->aboutToQuit();
    ASSERT_EQ(latest().posts.size(), 1);
    EXPECT_NE(latest().posts.first().id, deleted->id());
}

TEST_F(MacModelSyncTest, QuittingBeforeAFolderIsChosenLogsNoFailure)
{
    static QStringList logged;
    TamselStore::defaults().remove(BackupFolder::bookmarkKey);
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { logged << message; });
    model->aboutToQuit();
    qInstallMessageHandler(previous);
    EXPECT_TRUE(logged.filter(QStringLiteral("sync failed")).isEmpty()) << logged.join('\n').toStdString();
}

} // namespace
