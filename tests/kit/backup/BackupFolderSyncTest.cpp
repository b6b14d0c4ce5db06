#include "BackupCoder.h"
#include "BackupError.h"
#include "BackupExport.h"
#include "BackupFolder.h"
#include "Clock.h"
#include "Library.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class BackupFolderSyncTest : public HomeTest {
protected:
    BackupFolderSyncTest()
    {
        BackupFolder::resetLegacyMigrationForTesting();
        QDir().mkpath(folder);
        BackupFolder::setFolder(folder);
        // 23:30 on 1 May in a zone eight hours west of UTC is 2 May in UTC.
        Clock::setSource([] { return QDateTime::fromString("2024-05-01T23:30:00-08:00", Qt::ISODate); });
    }

    QString path(const QString &name) const { return folder + QLatin1Char('/') + name; }
    QByteArray latest() const
    {
        QFile file(path(BackupFolder::latestName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static UserDefaults &defaults() { return TamselStore::defaults(); }

    const QString folder = home.path() + QStringLiteral("/drive/Kepsel");
    Library library;
};

TEST_F(BackupFolderSyncTest, WritesTheLatestFileAndTheUtcDaysCopyOnlyWhenThereIsNews)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();

    const auto first = BackupFolder::sync(library.context, false);
    ASSERT_TRUE(first && first->output);
    EXPECT_EQ(latest(), *first->output);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Kepsel 备份 2024-05-02.json"))));
    EXPECT_TRUE(BackupFolder::lastBackup());

    QFile::remove(path(BackupFolder::latestName));
    writeFile(BackupFolder::latestName, first->document);
    defaults().remove(BackupFolder::lastBackupKey);
    const auto quiet = BackupFolder::sync(library.context, false);
    ASSERT_TRUE(quiet);
    EXPECT_FALSE(quiet->output);
    EXPECT_FALSE(BackupFolder::lastBackup());
    EXPECT_TRUE(defaults().contains(BackupFolder::lastSyncKey));

    // A forced write keeps the merge's stamps rather than a bare export.
    const auto forced = BackupFolder::sync(library.context, true);
    ASSERT_TRUE(forced && forced->output);
    const Backup::File written = Backup::decode(latest());
    ASSERT_TRUE(written.syncStamps);
    EXPECT_FALSE(written.syncStamps->isEmpty());
}

TEST_F(BackupFolderSyncTest, PausedOrUnchosenFoldersSyncNothing)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    BackupFolder::setPaused(true);
    EXPECT_EQ(BackupFolder::sync(library.context, true), std::nullopt);
    EXPECT_FALSE(BackupFolder::backup(library.context, true));
    EXPECT_FALSE(defaults().contains(BackupFolder::lastSyncKey));
    EXPECT_TRUE(QDir(folder).isEmpty());

    BackupFolder::clear();
    EXPECT_THROW(BackupFolder::sync(library.context, false), BackupFolder::FolderError);
    EXPECT_THROW(BackupFolder::backup(library.context, false), BackupFolder::FolderError);
}

TEST_F(BackupFolderSyncTest, AnEmptyLibraryWritesOnlyToHandOnItsDeletes)
{
    EXPECT_TRUE(BackupFolder::sync(library.context, true));
    EXPECT_FALSE(QFile::exists(path(BackupFolder::latestName)));

    auto post = library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    BackupFolder::sync(library.context, false);
    library.context.remove(post);
    library.context.save();
    const auto result = BackupFolder::sync(library.context, false);
    ASSERT_TRUE(result && result->output);
    const Backup::File written = Backup::decode(latest());
    EXPECT_TRUE(written.posts.isEmpty());
    ASSERT_TRUE(written.tombstones);
    EXPECT_EQ(written.tombstones->size(), 1);
}

TEST_F(BackupFolderSyncTest, KeepsTheSevenNewestDailyCopiesAndTheUsersOwnFiles)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    for (int day = 20; day <= 28; ++day)
        writeFile(QStringLiteral("Kepsel 备份 2024-04-%1.json").arg(day), "{}");
    writeFile(QStringLiteral(".Kepsel 备份 2024-04-28.json.icloud"), "");
    writeFile(QStringLiteral("Kepsel 备份 copy.json"), "mine");

    BackupFolder::sync(library.context, false);
    QStringList daily = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    daily.removeIf([](const QString &name) { return !name.contains(QStringLiteral("备份 ")); });
    EXPECT_EQ(daily.size(), 8);
    EXPECT_TRUE(daily.contains(QStringLiteral("Kepsel 备份 copy.json")));
    EXPECT_TRUE(daily.contains(QStringLiteral("Kepsel 备份 2024-05-02.json")));
    EXPECT_FALSE(daily.contains(QStringLiteral("Kepsel 备份 2024-04-23.json")));
    EXPECT_TRUE(daily.contains(QStringLiteral("Kepsel 备份 2024-04-24.json")));
}

TEST_F(BackupFolderSyncTest, ADamagedSharedFileIsRefusedAndKept)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    const QByteArray half = Backup::exportLibrary(library.context).left(40);
    writeFile(BackupFolder::latestName, half);
    EXPECT_THROW(BackupFolder::sync(library.context, true), Backup::BackupError);
    EXPECT_EQ(latest(), half);
    EXPECT_FALSE(defaults().contains(BackupFolder::lastSyncKey));
}

TEST_F(BackupFolderSyncTest, BackupSkipsAnUnchangedLibraryAndCheckExistingPauses)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    EXPECT_TRUE(BackupFolder::backup(library.context, false));
    EXPECT_FALSE(BackupFolder::backup(library.context, false));
    EXPECT_TRUE(BackupFolder::backup(library.context, true));

    Library other;
    EXPECT_EQ(BackupFolder::checkExisting(other.context), 1);
    EXPECT_TRUE(BackupFolder::isPaused());
    EXPECT_EQ(BackupFolder::checkExisting(library.context), 0);
    EXPECT_FALSE(BackupFolder::isPaused());
}

} // namespace
