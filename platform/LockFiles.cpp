#include "LockFiles.h"

#include "FolderWrite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

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
    return std::chrono::milliseconds(qAbs(changed.msecsTo(QDateTime::currentDateTime()))) < takingTime;
}

LockFiles::Refusal LockFiles::whyNotLocked(const QLockFile &lock, const QString &path)
{
    if (lock.error() == QLockFile::LockFailedError)
        return {owner(lock)};
    const QString folder = QFileInfo(path).absolutePath();
    const int error = FolderWrite::writeError(folder);
    if (!error)
        return {QStringLiteral("cannot write the lock file %1").arg(path)};
    return {FolderWrite::causeOf(error, folder), error};
}
