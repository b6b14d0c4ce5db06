#include "StoreMigration.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <sys/stat.h>

namespace {

using Kind = StoreMigration::Outcome::Kind;
using Tree = QMap<QString, QString>;

class StoreMigrationTest : public HomeTest {
protected:
    QString base() const { return home.dataFolder(); }
    QString at(const QString &relative) const { return base() + QLatin1Char('/') + relative; }
    StoreMigration::Outcome migrate(bool otherRunning = false)
    {
        return StoreMigration::migrateMac(base(), otherRunning, QDateTime(QDate(2024, 3, 7), QTime(12, 0)));
    }

    void write(const QString &relative, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void makeFormerLibrary()
    {
        for (const char *name : {"Plumvat.store", "Plumvat.store-wal", ".Plumvat_SUPPORT/AB/photo"})
            write(QStringLiteral("Plumvat/") + name, name);
        QFile::link("Plumvat.store", at("Plumvat/latest"));
    }

    // Every file and link below root, with its content or "link:<target>".
    static Tree snapshot(const QString &root)
    {
        Tree items;
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QString value = QStringLiteral("link:") + QFile::symLinkTarget(path).section('/', -1);
            if (!it.fileInfo().isSymLink() && it.fileInfo().isFile() && file.open(QIODevice::ReadOnly))
                value = QString::fromUtf8(file.readAll());
            items.insert(path.mid(root.size() + 1), value);
        }
        return items;
    }

    QStringList baseEntries() const
    {
        return QDir(base()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(StoreMigrationTest, ADanglingLinkCountsAsTheCurrentFolder)
{
    write("Plumvat/Plumvat.store", "old");
    ASSERT_TRUE(QFile::link(at("unmounted/Kepsel"), at("Kepsel")));
    EXPECT_EQ(migrate(), StoreMigration::Outcome::nothingToDo());
    EXPECT_EQ(snapshot(at("Plumvat")), Tree({{"Plumvat.store", "old"}}));
}

TEST_F(StoreMigrationTest, AnotherInstanceRunningSkipsWithoutTouchingTheDisk)
{
    makeFormerLibrary();
    const auto before = snapshot(at("Plumvat"));
    EXPECT_EQ(migrate(true).kind, Kind::skipped);
    EXPECT_EQ(baseEntries(), QStringList({"Plumvat"}));
    EXPECT_EQ(snapshot(at("Plumvat")), before);
}

TEST_F(StoreMigrationTest, TheApplicationsOwnInstanceLockIsNoOtherInstance)
{
    const auto held = StoreMigration::takeInstanceLock();
    ASSERT_TRUE(held);
    EXPECT_FALSE(StoreMigration::otherInstanceRunning());
}

TEST_F(StoreMigrationTest, AnInstanceLockLeftEmptyByAKilledStartHoldsNothing)
{
    QDir().mkpath(UserDefaults::configFolder());
    QFile left(UserDefaults::configFolder() + QStringLiteral("/instance.lock"));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    left.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    left.close();

    EXPECT_FALSE(StoreMigration::otherInstanceRunning());
    const auto lock = StoreMigration::takeInstanceLock();
    EXPECT_TRUE(lock) << "the application starts";
}

TEST_F(StoreMigrationTest, MovesTheLibraryRenamingStoreItemsAndKeepsTheOriginal)
{
    makeFormerLibrary();
    const auto before = snapshot(at("Plumvat"));
    const QString kept = at("Plumvat-sync-safety/2024-03-07-store-rename/Plumvat");

    EXPECT_EQ(migrate(), StoreMigration::Outcome::migrated(kept));
    EXPECT_EQ(snapshot(at("Kepsel")), Tree({{"Kepsel.store", "Plumvat.store"},
                                            {"Kepsel.store-wal", "Plumvat.store-wal"},
                                            {".Kepsel_SUPPORT/AB/photo", ".Plumvat_SUPPORT/AB/photo"},
                                            {"latest", "link:Plumvat.store"}}));
    EXPECT_EQ(snapshot(kept), before);
}

TEST_F(StoreMigrationTest, SecondMigrationOnTheSameDayKeepsUnderAFreshName)
{
    write("Plumvat/Plumvat.store", "first");
    ASSERT_EQ(migrate().kind, Kind::migrated);
    QDir(at("Kepsel")).removeRecursively();
    write("Plumvat/Plumvat.store", "second");

    const auto outcome = migrate();
    EXPECT_EQ(snapshot(outcome.payload), Tree({{"Plumvat.store", "second"}}));
    EXPECT_EQ(snapshot(at("Plumvat-sync-safety/2024-03-07-store-rename/Plumvat")),
              Tree({{"Plumvat.store", "first"}}));
}

TEST_F(StoreMigrationTest, AnyFailureLeavesTheFormerFolderWhole)
{
    const std::function<void()> faults[] = {
        // An item already under the new name is never replaced.
        [this] { write("Plumvat/Kepsel.store-wal", "stray"); },
        // A pipe cannot be copied: the copy stops after some items are made.
        [this] { ::mkfifo(QFile::encodeName(at("Plumvat/.Plumvat_SUPPORT/zz-pipe")).constData(), 0600); },
        [this] { write("Plumvat-sync-safety", "a file where the folder belongs"); },
    };
    for (const auto &fault : faults) {
        QDir(base()).removeRecursively();
        makeFormerLibrary();
        fault();
        const auto before = snapshot(at("Plumvat"));
        EXPECT_EQ(migrate().kind, Kind::failed);
        EXPECT_FALSE(QFileInfo::exists(at("Kepsel")));
        EXPECT_TRUE(baseEntries().filter("migrating").isEmpty());
        EXPECT_EQ(snapshot(at("Plumvat")), before);
    }
}

} // namespace
