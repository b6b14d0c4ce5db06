#include "BackupFolder.h"

#include "FileCoordinator.h"
#include "FileError.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class BackupFolderTest : public HomeTest {
protected:
    BackupFolderTest() { BackupFolder::resetLegacyMigrationForTesting(); }

    QString makeFolder(const QString &relative) const
    {
        const QString path = home.path() + QLatin1Char('/') + relative;
        QDir().mkpath(path);
        return path;
    }

    static void touch(const QString &folder, const QString &name, const QByteArray &content = "{}")
    {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static UserDefaults &defaults() { return TamselStore::defaults(); }
};

TEST_F(BackupFolderTest, ChoosingAFolderSetsItsWorkingFolderAndForgetsTheFingerprint)
{
    defaults().setString(BackupFolder::fingerprintKey, QStringLiteral("abc"));
    const QString documents = makeFolder(QStringLiteral("Documents"));
    BackupFolder::setFolder(documents);
    EXPECT_FALSE(defaults().contains(BackupFolder::fingerprintKey));
    EXPECT_EQ(BackupFolder::directory(documents), documents + QStringLiteral("/Kepsel"));

    const QString named = makeFolder(QStringLiteral("drive/Kepsel"));
    BackupFolder::setFolder(named);
    EXPECT_EQ(defaults().string(BackupFolder::subfolderKey), QString());

}

TEST_F(BackupFolderTest, ListsLatestThenDailyCopiesByLogicalName)
{
    const QString folder = makeFolder(QStringLiteral("Kepsel"));
    BackupFolder::setFolder(folder);
    touch(folder, QStringLiteral("Kepsel 备份 2024-05-01.json"));
    touch(folder, QStringLiteral("Kepsel 备份 2024-05-02.json"));
    touch(folder, QStringLiteral(".Kepsel 备份 2024-05-02.json.icloud"));
    touch(folder, QStringLiteral(".Kepsel 备份.json.icloud"));
    touch(folder, QStringLiteral("notes.txt"));
    makeFolder(QStringLiteral("Kepsel/媒体"));

    const auto entries = BackupFolder::entries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[0].isLatest());
    EXPECT_EQ(entries[1].day(), QStringLiteral("2024-05-02"));
}

TEST_F(BackupFolderTest, AMissingOrVanishedFolderIsReportedNotSet)
{
    const QString folder = makeFolder(QStringLiteral("gone"));
    BackupFolder::setFolder(folder);
    QDir(folder).removeRecursively();
    EXPECT_EQ(BackupFolder::folderURL(), std::nullopt);
    EXPECT_THROW(BackupFolder::entries(), BackupFolder::FolderError);
}

TEST_F(BackupFolderTest, RenamesFormerFileNamesOnceWithoutOverwriting)
{
    const QString folder = makeFolder(QStringLiteral("Kepsel"));
    BackupFolder::setFolder(folder);
    touch(folder, QStringLiteral("Plumvat 备份.json"), "old");
    touch(folder, QStringLiteral("Kepsel 备份.json"), "new");
    touch(folder, QStringLiteral(".Plumvat 备份 2024-05-01.json.icloud"));

    ASSERT_TRUE(BackupFolder::folderURL());
    EXPECT_EQ(FileCoordinator::read(folder + QStringLiteral("/Kepsel 备份.json")), QByteArray("new"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/.Kepsel 备份 2024-05-01.json.icloud")));

    // Once per process: a file of the former name that appears later stays.
    touch(folder, QStringLiteral("Plumvat 备份 2024-06-01.json"));
    BackupFolder::folderURL();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Plumvat 备份 2024-06-01.json")));
}

TEST_F(BackupFolderTest, AFormerNamedFolderIsRenamedAndChosenAgain)
{
    const QString legacy = makeFolder(QStringLiteral("drive/Plumvat"));
    BackupFolder::setFolder(legacy);
    touch(legacy, QStringLiteral("Plumvat 备份.json"));

    const auto folder = BackupFolder::folderURL();
    ASSERT_TRUE(folder);
    EXPECT_EQ(*folder, home.path() + QStringLiteral("/drive/Kepsel"));
    EXPECT_TRUE(QFile::exists(*folder + QStringLiteral("/Kepsel 备份.json")));

    // A remembered former folder that is gone resolves to its renamed sibling.
    defaults().setData(BackupFolder::bookmarkKey, legacy.toUtf8());
    EXPECT_EQ(BackupFolder::resolvedFolderURL(), folder);
}

TEST_F(BackupFolderTest, CoordinatedWritesReplaceWholeFilesAndReportFailures)
{
    const QString folder = makeFolder(QStringLiteral("shared"));
    const QString path = folder + QStringLiteral("/Kepsel 备份.json");
    FileCoordinator::write("first", path);
    FileCoordinator::write("second", path);
    EXPECT_EQ(FileCoordinator::read(path), QByteArray("second"));
    FileCoordinator::move(path, folder + QStringLiteral("/copy.json"));
    EXPECT_THROW(FileCoordinator::write("x", folder + QStringLiteral("/missing/file.json")), FileError);
    // Only the moved file and nothing half-written is left.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("copy.json")});
}

} // namespace
