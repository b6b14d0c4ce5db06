#include "FileCoordinator.h"
#include "LockFiles.h"
#include "TestHome.h"

#include <QFile>
#include <QLockFile>

namespace {

class FileCoordinatorTest : public HomeTest {
protected:
    QString path() const { return home.path() + QStringLiteral("/Kepsel 备份.json"); }
};

// Left by a process killed while it took the lock: the lock's owner is long
// gone, and the shared file stays usable at once.
TEST_F(FileCoordinatorTest, AnEmptyLockFileLeftBehindIsTakenOver)
{
    QFile lock(FileCoordinator::lockPath(path()));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();

    FileCoordinator::write("document", path());
    EXPECT_EQ(FileCoordinator::read(path()), QByteArray("document"));
    EXPECT_FALSE(QFile::exists(FileCoordinator::lockPath(path())));
}

TEST_F(FileCoordinatorTest, AHeldLockIsNeverTakenOver)
{
    const QString lockPath = FileCoordinator::lockPath(path());
    QLockFile holder(lockPath);
    ASSERT_TRUE(holder.tryLock(0));
    // Taking it over would let two writers in at once.
    EXPECT_FALSE(LockFiles::removeAbandoned(lockPath));
    EXPECT_TRUE(QFile::exists(lockPath));
}

} // namespace
