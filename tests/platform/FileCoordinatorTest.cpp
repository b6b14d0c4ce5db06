#include "FileCoordinator.h"
#include "LockFiles.h"
#include "LockWaitClock.h"
#include "TestHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <chrono>

namespace {

class FileCoordinatorTest : public HomeTest {
protected:
    QString path() const { return home.path() + QStringLiteral("/Kepsel 备份.json"); }
    QString lockPath() const { return FileCoordinator::lockPath(path()); }
    // A lock file nobody holds under flock, last written that long ago.
    void leaveLock(const QByteArray &content, std::chrono::seconds age = {}) const
    {
        QFile lock(lockPath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(content);
        lock.flush();
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-age.count()),
                         QFileDevice::FileModificationTime);
    }
};

// Left by a process killed while it took the lock: the lock's owner is long
// gone, and the shared file stays usable at once.
TEST_F(FileCoordinatorTest, AnEmptyLockFileLeftBehindIsTakenOver)
{
    leaveLock({}, std::chrono::hours(1));
    FileCoordinator::write("document", path());
    EXPECT_EQ(FileCoordinator::read(path()), QByteArray("document"));
    EXPECT_FALSE(QFile::exists(FileCoordinator::lockPath(path())));
}

// An empty lock may be one another process is taking; a wait for it looks
// again, and takes it over once it is old enough to be abandoned.
TEST_F(FileCoordinatorTest, AnEmptyLockMetWhileYoungIsTakenOverOnceOldEnough)
{
    LockWaitClock clock;
    clock.leaveLock(lockPath(), {}, std::chrono::seconds(5));
    FileCoordinator::write("document", path());
    EXPECT_EQ(FileCoordinator::read(path()), QByteArray("document"));
    EXPECT_GE(clock.waited(), LockFiles::takingTime - std::chrono::seconds(5));
    EXPECT_LT(clock.waited(), FileCoordinator::lockTimeout);
}

TEST_F(FileCoordinatorTest, AHeldLockIsNeverTakenOver)
{
    QLockFile holder(lockPath());
    ASSERT_TRUE(holder.tryLock(0));
    // Taking it over would let two writers in at once.
    EXPECT_FALSE(LockFiles::removeAbandoned(lockPath()));
    EXPECT_TRUE(QFile::exists(lockPath()));
}

// QLockFile makes and fills its file before it takes the flock: a file just
// made, or one naming a running process, may be a lock being taken.
TEST_F(FileCoordinatorTest, ALockBeingTakenIsNeverTakenOver)
{
    leaveLock({});
    EXPECT_FALSE(LockFiles::removeAbandoned(lockPath())) << "made, not yet filled";
    const QByteArray running = QByteArray::number(QCoreApplication::applicationPid()) + "\nkepsel\n" +
                               QSysInfo::machineHostName().toUtf8() + "\n";
    leaveLock(running, std::chrono::hours(1));
    EXPECT_FALSE(LockFiles::removeAbandoned(lockPath())) << "filled by a running process";
    EXPECT_TRUE(QFile::exists(lockPath()));
}

} // namespace
