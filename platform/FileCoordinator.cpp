#include "FileCoordinator.h"

#include "FileError.h"
#include "LockFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

using Action = FileError::Action;

// Reads errno first: the failing call has just set it (the callers clear it
// before they start, so a failure without a system call reads as unknown).
[[noreturn]] void fail(Action action, const QString &path)
{
    const int errorNumber = errno;
    throw FileError(action, path, errorNumber);
}

// Who holds the lock, or what keeps its file from being written.
[[noreturn]] void failLocking(const QLockFile &lock, const QString &path, const QString &lockFile)
{
    const LockFiles::Refusal refusal = LockFiles::whyNotLocked(lock, lockFile);
    if (lock.error() == QLockFile::LockFailedError)
        throw FileError(Action::lock, path, refusal.cause,
                        QCoreApplication::translate("FileError", "另一个程序正在使用它"));
    throw FileError(Action::lock, path, refusal.cause, FileError::reason(refusal.errorNumber));
}

} // namespace

// A lock whose holder is gone (killed, or killed while taking it) is taken
// over at once rather than after QLockFile's stale time, also when it is
// found so while waiting.
std::unique_ptr<QLockFile> FileCoordinator::hold(const QString &path)
{
    const QString lock = lockPath(path);
    auto file = std::make_unique<QLockFile>(lock);
    if (LockFiles::lock(*file, lock, lockTimeout, LockFiles::Holder::outwait))
        return file;
    failLocking(*file, path, lock);
}

QString FileCoordinator::lockPath(const QString &path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

QByteArray FileCoordinator::read(const QString &path)
{
    const auto guard = hold(path);
    errno = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(Action::read, path);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(Action::read, path);
    return data;
}

void FileCoordinator::write(const QByteArray &data, const QString &path)
{
    const auto guard = hold(path);
    replace(data, path);
}

void FileCoordinator::replace(const QByteArray &data, const QString &path)
{
    errno = 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(Action::write, path);
    // QSaveFile reports no error for a short write (a full disk): count the bytes.
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        throw FileError(Action::write, path, QStringLiteral("the disk is full or the write was cut short"),
                        FileError::reason(ENOSPC));
    }
    if (!file.commit())
        fail(Action::write, path);
}

void FileCoordinator::move(const QString &source, const QString &target)
{
    const auto sourceGuard = hold(source);
    const auto targetGuard = hold(target);
    // rename(2) replaces an existing target file in one step.
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        fail(Action::move, source);
}
