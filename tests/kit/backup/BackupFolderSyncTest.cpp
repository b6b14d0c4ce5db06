#include "BackupCoder.h"
#include "BackupError.h"
#include "BackupExport.h"
#include "BackupFolder.h"
#include "BackupJSON.h"
#include "Clock.h"
#include "Library.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "WaitFor.h"

#include "FileCoordinator.h"
#include "FileError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString ownLink = QStringLiteral("https://weibo.com/1/A");
const QString otherLink = QStringLiteral("https://weibo.com/2/B");
const QSet<QString> bothLinks{ownLink, otherLink};

QSet<QString> linksIn(Library &library)
{
    QSet<QString> links;
    for (const auto &post : library.context.fetch<Post>())
        links.insert(post->sourceURL());
    return links;
}

QSet<QString> linksIn(const QByteArray &document)
{
    QSet<QString> links;
    for (const auto &post : Backup::decode(document).posts)
        links.insert(post.sourceURL);
    return links;
}

// Until it ends, writing past `bytes` into any file fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Set in the second process of the test below: the folder both processes sync.
const char peerFolderVariable[] = "KEPSEL_TEST_SYNC_PEER_FOLDER";

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
    std::optional<Sync::Result> sync(bool force)
    {
        return TestAsync::waitFor(BackupFolder::sync(library.context, force));
    }
    bool backup(bool force) { return TestAsync::waitFor(BackupFolder::backup(library.context, force)); }
    static qsizetype checkExisting(Library &of)
    {
        return TestAsync::waitFor(BackupFolder::checkExisting(of.context));
    }

    const QString folder = home.path() + QStringLiteral("/drive/Kepsel");
    Library library;
};

TEST_F(BackupFolderSyncTest, WritesTheLatestFileAndTheUtcDaysCopyOnlyWhenThereIsNews)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();

    const auto first = sync(false);
    ASSERT_TRUE(first && first->output);
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("Kepsel 备份 2024-05-02.json"))));

    QFile::remove(path(BackupFolder::latestName));
    writeFile(BackupFolder::latestName, first->document);
    const auto quiet = sync(false);
    ASSERT_TRUE(quiet);
    EXPECT_FALSE(quiet->output);

    // A forced write keeps the merge's stamps rather than a bare export.
    sync(true);
    const Backup::File written = Backup::decode(latest());
    EXPECT_TRUE(written.syncStamps && !written.syncStamps->isEmpty());
}

TEST_F(BackupFolderSyncTest, AutomaticBackupIsOnInAFreshHome)
{
    EXPECT_TRUE(BackupFolder::autoBackup());
}

TEST_F(BackupFolderSyncTest, ASharedFileOverTheSizeLimitIsRefusedUnread)
{
    QFile huge(path(BackupFolder::latestName));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(Backup::Json::maxDocumentBytes + 1));
    huge.close();
    EXPECT_THROW(BackupFolder::coordinatedRead(huge.fileName()), Backup::BackupError);
}

TEST_F(BackupFolderSyncTest, AStoreClosedWhileTheSharedFileIsReadIsLeftAlone)
{
    auto closing = std::make_unique<Library>();
    closing->addPost(ownLink);
    // Holding the folder's cycle lock keeps the sync waiting in its read.
    auto otherCycle = FileCoordinator::hold(path(BackupFolder::latestName + QStringLiteral(".sync")));
    auto cycle = BackupFolder::sync(closing->context, true);
    closing.reset();
    otherCycle.reset();
    EXPECT_EQ(TestAsync::waitFor(std::move(cycle)), std::nullopt);
    EXPECT_FALSE(QFile::exists(path(BackupFolder::latestName)));
}

TEST_F(BackupFolderSyncTest, APausedFolderSyncsNothing)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    BackupFolder::setPaused(true);
    EXPECT_EQ(sync(true), std::nullopt);
    EXPECT_FALSE(backup(true));
    EXPECT_TRUE(QDir(folder).isEmpty());
}

TEST_F(BackupFolderSyncTest, AnEmptyLibraryWritesOnlyToHandOnItsDeletes)
{
    EXPECT_TRUE(sync(true));
    EXPECT_FALSE(QFile::exists(path(BackupFolder::latestName)));

    auto post = library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    sync(false);
    library.context.remove(post);
    library.context.save();
    const auto result = sync(false);
    ASSERT_TRUE(result && result->output);
    EXPECT_EQ(Backup::decode(latest()).tombstones.value_or(Backup::DateMap{}).size(), 1);
}

TEST_F(BackupFolderSyncTest, KeepsTheSevenNewestDailyCopiesAndTheUsersOwnFiles)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    for (int day = 20; day <= 28; ++day)
        writeFile(QStringLiteral("Kepsel 备份 2024-04-%1.json").arg(day), "{}");
    writeFile(QStringLiteral(".Kepsel 备份 2024-04-28.json.icloud"), "");
    writeFile(QStringLiteral("Kepsel 备份 copy.json"), "mine");

    sync(false);
    QStringList daily = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(daily.contains(QStringLiteral("Kepsel 备份 copy.json")));
    EXPECT_FALSE(daily.contains(QStringLiteral("Kepsel 备份 2024-04-23.json")));
    EXPECT_TRUE(daily.contains(QStringLiteral("Kepsel 备份 2024-04-24.json")));
}

TEST_F(BackupFolderSyncTest, ADamagedSharedFileIsRefusedAndKept)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    const QByteArray half = Backup::exportLibrary(library.context).left(40);
    writeFile(BackupFolder::latestName, half);
    EXPECT_THROW(sync(true), Backup::BackupError);
    EXPECT_EQ(latest(), half);
}

TEST_F(BackupFolderSyncTest, BackupSkipsAnUnchangedLibraryAndCheckExistingPauses)
{
    library.addPost(QStringLiteral("https://weibo.com/1/A"));
    library.context.save();
    EXPECT_TRUE(backup(false));
    EXPECT_FALSE(backup(false));

    Library other;
    EXPECT_EQ(checkExisting(other), 1);
    EXPECT_TRUE(BackupFolder::isPaused());
    EXPECT_EQ(checkExisting(library), 0);
    EXPECT_FALSE(BackupFolder::isPaused());
}

// Runs one sync of this library while a second process runs one of its own
// against the same folder, then one more each: both sides end with both posts.
TEST_F(BackupFolderSyncTest, TwoProcessesSyncingTheSameFolderAtOnceLoseNothing)
{
    if (qEnvironmentVariableIsSet(peerFolderVariable)) {
        BackupFolder::setFolder(qEnvironmentVariable(peerFolderVariable));
        library.addPost(otherLink);
        library.context.save();
        std::puts("peer syncing");
        std::fflush(stdout);
        sync(false);
        QFile input;
        ASSERT_TRUE(input.open(stdin, QIODevice::ReadOnly));
        input.readLine(); // the first process has synced once
        sync(false);
        EXPECT_EQ(linksIn(library), bothLinks);
        return;
    }
    library.addPost(ownLink);
    library.context.save();
    const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(peerFolderVariable), folder);
    QProcess peer;
    peer.setProcessEnvironment(environment);
    peer.setProcessChannelMode(QProcess::MergedChannels);
    peer.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            output += peer.readAll();
            return output.contains("peer syncing") || peer.state() == QProcess::NotRunning;
        },
        60000));

    sync(false);
    peer.write("synced\n");
    ASSERT_TRUE(peer.waitForFinished(60000));
    output += peer.readAll();
    EXPECT_TRUE(peer.exitStatus() == QProcess::NormalExit && peer.exitCode() == 0) << output.constData();
    sync(false);
    EXPECT_EQ(linksIn(latest()), bothLinks);
}

TEST_F(BackupFolderSyncTest, AFullFolderKeepsTheSharedFileAndTheLibraryAndReportsTheFailure)
{
    Library phone;
    phone.addPost(otherLink);
    const QByteArray shared = Backup::exportLibrary(phone.context);
    writeFile(BackupFolder::latestName, shared);
    // Far larger than anything else the sync writes (settings, sync state).
    library.addPost(ownLink)->setNote(QString(40000, QLatin1Char('x')));
    library.context.save();
    {
        const FileSizeLimit full(16384);
        EXPECT_THROW(sync(false), FileError);
    }
    EXPECT_EQ(latest(), shared);
    EXPECT_EQ(linksIn(library), bothLinks);
}

} // namespace
