#include "LockFiles.h"

#include "Clock.h"
#include "FolderWrite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// How often a wait for a lock looks at it again.
constexpr std::chrono::milliseconds retryInterval{100};

std::function<void(std::chrono::milliseconds)> &pauseOverride()
{
    static std::function<void(std::chrono::milliseconds)> pause;
    return pause;
}

void pause(std::chrono::milliseconds duration)
{
    if (const auto &replaced = pauseOverride())
        replaced(duration);
    else
        QThread::msleep(duration.count());
}

// Whether the lock file names its holder: a running process, or one on
// another machine (one here that has ended is taken over before this is asked).
bool namesHolder(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, application;
    return lock.getLockInfo(&pid, &host, &application);
}

QString owner(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, application;
    if (!lock.getLockInfo(&pid, &host, &application))
        return QStringLiteral("it is in use by another process");
    const QString program = application.isEmpty() ? QStringLiteral("an unnamed program") : application;
    if (pid == QCoreApplication::applicationPid())
        return QStringLiteral("it is already in use by this program (%1, process %2)").arg(program).arg(pid);
    return QStringLiteral("it is in use by %1 (process %2)").arg(program).arg(pid);
}

} // namespace

bool LockFiles::tryLock(QLockFile &lock, const QString &path)
{
    return lock.tryLock(0) ||
           (lock.error() == QLockFile::LockFailedError && removeAbandoned(path) && lock.tryLock(0));
}

// The time waited is counted in pauses rather than read from the clock, so
// the bound holds for a clock a test has stopped too.
bool LockFiles::lock(QLockFile &lock, const QString &path, std::chrono::milliseconds patience, Holder holder)
{
    for (std::chrono::milliseconds waited{0};; waited += retryInterval) {
        if (tryLock(lock, path))
            return true;
        if (lock.error() != QLockFile::LockFailedError || waited >= patience ||
            (holder == Holder::refuse && namesHolder(lock)))
            return false;
        pause(retryInterval);
    }
}

void LockFiles::setPause(std::function<void(std::chrono::milliseconds)> pause)
{
    pauseOverride() = std::move(pause);
}

// A lock taken with QLockFile keeps its file open under flock(2) for as long
// as it is held, and the kernel drops that when the holder dies. QLockFile
// creates and fills the file before it takes the flock, though: a file that
// names a running process here, or one just made, may be a lock being taken
// and is left alone.
bool LockFiles::removeAbandoned(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    bool removed = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && !mayBeBeingTaken(path))
        removed = ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

bool LockFiles::mayBeBeingTaken(const QString &path)
{
    qint64 pid = 0;
    QString host, application;
    if (QLockFile(path).getLockInfo(&pid, &host, &application) && pid > 0 &&
        host == QSysInfo::machineHostName())
        return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
    const QDateTime changed = QFileInfo(path).lastModified();
    return std::chrono::milliseconds(qAbs(changed.msecsTo(Clock::now()))) < takingTime;
}

LockFiles::Refusal LockFiles::whyNotLocked(const QLockFile &lock, const QString &path)
{
    if (lock.error() == QLockFile::LockFailedError)
        return {owner(lock)};
    const QString folder = QFileInfo(path).absolutePath();
    const int error = FolderWrite::writeError(folder);
    // A folder missing because it could not be made (on a full disk, say):
    // why it could not.
    if (error == ENOENT) {
        const FolderWrite::Failure notCreated = FolderWrite::whyNotCreated(folder);
        if (notCreated.errorNumber)
            return notCreated;
    }
    if (!error)
        return {QStringLiteral("cannot write the lock file %1").arg(path)};
    return {FolderWrite::causeOf(error, folder), error};
}
