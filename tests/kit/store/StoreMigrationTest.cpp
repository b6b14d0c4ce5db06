#include "KitLog.h"
#include "StoreMigration.h"
#include "TestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QMap>
#include <QRegularExpression>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Kind = StoreMigration::Outcome::Kind;

const QDateTime march7(QDate(2024, 3, 7), QTime(12, 0));

// Log lines of the kit's category, as "level: text".
QStringList &capturedLog()
{
    static QStringList lines;
    return lines;
}

void captureLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QByteArray(context.category) == tamselLog().categoryName())
        capturedLog() << (type == QtCriticalMsg ? QStringLiteral("error: ") : QStringLiteral("info: ")) +
                             message;
}

class StoreMigrationTest : public HomeTest {
protected:
    void SetUp() override
    {
        capturedLog().clear();
        m_previousHandler = qInstallMessageHandler(captureLog);
    }
    void TearDown() override { qInstallMessageHandler(m_previousHandler); }

    QString base() const { return home.dataFolder(); }
    QString at(const QString &relative) const { return base() + QLatin1Char('/') + relative; }

    void write(const QString &relative, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(at(relative)).path());
        QFile file(at(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    void makeFormerLibrary()
    {
        write("Plumvat/Plumvat.store", "store");
        write("Plumvat/Plumvat.store-wal", "wal");
        write("Plumvat/Plumvat.store-shm", "shm");
        write("Plumvat/.Plumvat_SUPPORT/AB/photo", "bytes");
        write("Plumvat/SyncState.json", "{}");
        write("Plumvat/.hidden", "secret");
        QFile::link("Plumvat.store", at("Plumvat/latest"));
    }

    // Every item below folder: "dir", "link:<target>" or the file's content.
    QMap<QString, QString> snapshot(const QString &root) const
    {
        QMap<QString, QString> items;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info(path);
            QString value = QStringLiteral("dir");
            if (info.isSymLink())
                value = QStringLiteral("link:") + QFile::symLinkTarget(path).section('/', -1);
            else if (info.isFile()) {
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                value = QString::fromUtf8(file.readAll());
            }
            items.insert(path.mid(root.size() + 1), value);
        }
        return items;
    }

    QStringList baseEntries() const
    {
        return QDir(base()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    void expectFailedAndUntouched(const StoreMigration::Outcome &outcome,
                                  const QMap<QString, QString> &formerBefore)
    {
        EXPECT_EQ(outcome.kind, Kind::failed);
        EXPECT_FALSE(outcome.payload.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(at("Kepsel")));
        EXPECT_TRUE(baseEntries().filter("migrating").isEmpty());
        EXPECT_EQ(snapshot(at("Plumvat")), formerBefore);
        EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Plumvat"));
        EXPECT_EQ(capturedLog(),
                  QStringList({"error: store migration failed, staying on Plumvat: " + outcome.payload}));
    }

private:
    QtMessageHandler m_previousHandler = nullptr;
};

TEST_F(StoreMigrationTest, NothingToDoWithoutFormerFolderOrWithBoth)
{
    EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Kepsel"));
    EXPECT_EQ(StoreMigration::migrateMac(base(), false, march7), StoreMigration::Outcome::nothingToDo());
    EXPECT_TRUE(baseEntries().isEmpty());

    write("Kepsel/Kepsel.store", "new");
    write("Plumvat/Plumvat.store", "old");
    EXPECT_EQ(StoreMigration::migrateMac(base(), false, march7), StoreMigration::Outcome::nothingToDo());
    EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Kepsel"));
    EXPECT_EQ(baseEntries(), QStringList({"Kepsel", "Plumvat"}));
    EXPECT_TRUE(capturedLog().isEmpty());
}

TEST_F(StoreMigrationTest, CurrentFolderThatIsADanglingLinkStillWins)
{
    write("Plumvat/Plumvat.store", "old");
    ASSERT_TRUE(QFile::link(at("unmounted/Kepsel"), at("Kepsel")));
    EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Kepsel"));
    EXPECT_EQ(StoreMigration::migrateMac(base(), false, march7), StoreMigration::Outcome::nothingToDo());
}

TEST_F(StoreMigrationTest, AnotherInstanceRunningSkipsWithoutTouchingTheDisk)
{
    makeFormerLibrary();
    const auto before = snapshot(at("Plumvat"));
    EXPECT_EQ(StoreMigration::migrateMac(base(), true, march7),
              StoreMigration::Outcome::skipped("another instance is running"));
    EXPECT_EQ(baseEntries(), QStringList({"Plumvat"}));
    EXPECT_EQ(snapshot(at("Plumvat")), before);
    EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Plumvat"));
    EXPECT_EQ(capturedLog(), QStringList({"info: store migration skipped: another Kepsel is running"}));
}

TEST_F(StoreMigrationTest, MovesTheLibraryRenamingStoreItemsAndKeepsTheOriginal)
{
    makeFormerLibrary();
    const auto before = snapshot(at("Plumvat"));
    const QString kept = at("Plumvat-sync-safety/2024-03-07-store-rename/Plumvat");

    EXPECT_EQ(StoreMigration::migrateMac(base(), false, march7), StoreMigration::Outcome::migrated(kept));

    const QMap<QString, QString> expected{
        {"Kepsel.store", "store"},        {"Kepsel.store-wal", "wal"},
        {"Kepsel.store-shm", "shm"},      {".Kepsel_SUPPORT", "dir"},
        {".Kepsel_SUPPORT/AB", "dir"},    {".Kepsel_SUPPORT/AB/photo", "bytes"},
        {"SyncState.json", "{}"},         {".hidden", "secret"},
        {"latest", "link:Plumvat.store"}, // the link is copied as written, not followed
    };
    EXPECT_EQ(snapshot(at("Kepsel")), expected);
    EXPECT_EQ(snapshot(kept), before);
    EXPECT_EQ(baseEntries(), QStringList({"Kepsel", "Plumvat-sync-safety"}));
    EXPECT_EQ(StoreMigration::currentDirectory(base()), at("Kepsel"));
    EXPECT_EQ(capturedLog(),
              QStringList({"info: store migration: Plumvat → Kepsel, original kept at " + kept}));
}

TEST_F(StoreMigrationTest, SecondMigrationOnTheSameDayKeepsUnderAFreshNameAndRenamesOnlyWhatIsThere)
{
    write("Plumvat/Plumvat.store", "first");
    ASSERT_EQ(StoreMigration::migrateMac(base(), false, march7).kind, Kind::migrated);
    QDir(at("Kepsel")).removeRecursively();
    write("Plumvat/Plumvat.store", "second");

    const auto outcome = StoreMigration::migrateMac(base(), false, march7);

    EXPECT_TRUE(QRegularExpression("/2024-03-07-store-rename/Plumvat-[0-9A-F]{8}$")
                    .match(outcome.payload)
                    .hasMatch());
    EXPECT_EQ(snapshot(outcome.payload), (QMap<QString, QString>{{"Plumvat.store", "second"}}));
    EXPECT_EQ(snapshot(at("Plumvat-sync-safety/2024-03-07-store-rename/Plumvat")),
              (QMap<QString, QString>{{"Plumvat.store", "first"}}));
    EXPECT_EQ(snapshot(at("Kepsel")), (QMap<QString, QString>{{"Kepsel.store", "second"}}));
}

TEST_F(StoreMigrationTest, ExistingItemUnderANewNameIsNeverReplaced)
{
    makeFormerLibrary();
    write("Plumvat/Kepsel.store-wal", "stray");
    const auto before = snapshot(at("Plumvat"));

    const auto outcome = StoreMigration::migrateMac(base(), false, march7);
    expectFailedAndUntouched(outcome, before);
    const QRegularExpression refusal("^cannot move .*/Kepsel\\.migrating-[0-9A-F-]{36}/Plumvat\\.store-wal "
                                     "to .*/Kepsel\\.store-wal: File exists$");
    EXPECT_TRUE(refusal.match(outcome.payload).hasMatch()) << outcome.payload.toStdString();
}

TEST_F(StoreMigrationTest, CopyOrSafetyFolderFailingLeavesTheFormerFolderWhole)
{
    const std::function<void()> faults[] = {
        // A pipe cannot be copied: the copy stops after some items are made.
        [this] { ::mkfifo(QFile::encodeName(at("Plumvat/.Plumvat_SUPPORT/zz-pipe")).constData(), 0600); },
        [this] { write("Plumvat-sync-safety", "a file where the folder belongs"); },
    };
    for (const auto &fault : faults) {
        QDir(base()).removeRecursively();
        capturedLog().clear();
        makeFormerLibrary();
        fault();
        const auto before = snapshot(at("Plumvat"));
        expectFailedAndUntouched(StoreMigration::migrateMac(base(), false, march7), before);
    }
}

TEST_F(StoreMigrationTest, OtherInstanceIsAnotherProcessHoldingTheLock)
{
    EXPECT_FALSE(StoreMigration::otherInstanceRunning());
    {
        const auto ours = StoreMigration::takeInstanceLock();
        ASSERT_TRUE(ours);
        EXPECT_FALSE(StoreMigration::otherInstanceRunning());
    }

    const QString lockPath = home.configFolder() + "/Kepsel/instance.lock";
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(release[1]);
        QLockFile lock(lockPath);
        lock.setStaleLockTime(0);
        const char locked = lock.tryLock(0) ? '1' : '0';
        ::write(ready[1], &locked, 1);
        char ignored;
        ::read(release[0], &ignored, 1); // returns when the parent closes its end
        ::_exit(0);                      // leaves the lock file behind, like a crash
    }
    ::close(release[0]);
    char locked = '0';
    ASSERT_EQ(::read(ready[0], &locked, 1), 1);
    EXPECT_EQ(locked, '1');
    EXPECT_TRUE(StoreMigration::otherInstanceRunning());
    EXPECT_FALSE(StoreMigration::takeInstanceLock());

    ::close(release[1]);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(StoreMigration::otherInstanceRunning()); // a dead holder's lock is stale
}

} // namespace
