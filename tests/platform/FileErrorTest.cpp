#include "FailingWrites.h"
#include "FileCoordinator.h"
#include "FileError.h"
#include "SqlDatabase.h"
#include "StoreError.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using FileErrorTest = HomeTest;

template <typename Action> FileError failureOf(Action action)
{
    try {
        action();
    } catch (const FileError &error) {
        return error;
    }
    ADD_FAILURE() << "no FileError";
    return FileError(QString());
}

TEST_F(FileErrorTest, TheUserReadsTheCauseInTheirWordsAndTheLogKeepsTheSystemsInEnglish)
{
    const QString missing = home.path() + QStringLiteral("/missing.json");
    const FileError unread = failureOf([&] { FileCoordinator::read(missing); });
    EXPECT_EQ(unread.message(), QStringLiteral("无法读取“missing.json”：找不到这个文件或文件夹"));
    EXPECT_EQ(unread.description(), QStringLiteral("Cannot read %1: No such file or directory").arg(missing));

    // A file where a folder should be.
    QFile blocker(home.path() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const FileError unlocked =
        failureOf([&] { FileCoordinator::write("{}", blocker.fileName() + QStringLiteral("/a.json")); });
    EXPECT_EQ(unlocked.message(), QStringLiteral("无法锁定“a.json”：路径里有一项不是文件夹"));
    EXPECT_TRUE(unlocked.description().startsWith(QStringLiteral("Cannot lock ")));

    const FileError unmoved =
        failureOf([&] { FileCoordinator::move(missing, home.path() + QStringLiteral("/moved.json")); });
    EXPECT_EQ(unmoved.message(), QStringLiteral("无法移动“missing.json”：找不到这个文件或文件夹"));
}

TEST_F(FileErrorTest, FullAndReadOnlyDisksAndUnknownCausesHaveWords)
{
    EXPECT_EQ(FileError::reason(ENOSPC), QStringLiteral("磁盘已满"));
    EXPECT_EQ(FileError::reason(EDQUOT), QStringLiteral("磁盘已满"));
    EXPECT_EQ(FileError::reason(EROFS), QStringLiteral("磁盘是只读的"));
    EXPECT_EQ(FileError::reason(0), QStringLiteral("原因不明"));
    EXPECT_EQ(FileError::reason(123456), QStringLiteral("系统错误 123456"));
}

TEST_F(FileErrorTest, ALibraryThatIsNoDatabaseIsToldAsDamagedAndOtherStoreFailuresInGeneralWords)
{
    const QString path = home.path() + QStringLiteral("/Kepsel.store");
    QFile garbage(path);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    try {
        SqlDatabase database(path);
        database.execute(QStringLiteral("CREATE TABLE t (x)"));
        ADD_FAILURE() << "no StoreError";
    } catch (const StoreError &error) {
        EXPECT_EQ(error.userMessage(), QStringLiteral("收藏库文件已损坏"));
        EXPECT_TRUE(error.message().contains(path)) << error.what();
    }
    EXPECT_EQ(StoreError(QStringLiteral("cannot create /x")).userMessage(),
              QStringLiteral("无法读取或保存收藏库"));
}

// SQLite reports the precise cause (a failed write, a moved file); the user
// is told the family it belongs to.
TEST_F(FileErrorTest, EveryCauseOfAFailedWriteIsToldInTheWordsOfItsFamily)
{
    FailingWrites disk;
    SqlDatabase database(home.path() + QStringLiteral("/Kepsel.store"));
    database.execute(QStringLiteral("CREATE TABLE t (x)"));
    const std::pair<int, QString> causes[] = {
        {SQLITE_IOERR_WRITE, QStringLiteral("读写收藏库时磁盘出错")},
        {SQLITE_READONLY_DBMOVED, QStringLiteral("收藏库是只读的，无法保存")},
        {SQLITE_BUSY_SNAPSHOT, QStringLiteral("收藏库正被另一个程序使用")},
        {SQLITE_CANTOPEN_ISDIR, QStringLiteral("无法打开收藏库文件")},
        {SQLITE_CORRUPT_INDEX, QStringLiteral("收藏库文件已损坏")},
        {SQLITE_FULL, QStringLiteral("收藏库所在的磁盘已满")},
    };
    for (const auto &[code, words] : causes) {
        disk.failWith(code);
        try {
            database.execute(QStringLiteral("INSERT INTO t VALUES (1)"));
            ADD_FAILURE() << "no StoreError for " << code;
        } catch (const StoreError &error) {
            EXPECT_EQ(error.userMessage(), words) << code << ": " << error.what();
        }
    }
    disk.failWith(0);
    EXPECT_NO_THROW(database.execute(QStringLiteral("INSERT INTO t VALUES (1)")));
}

} // namespace
