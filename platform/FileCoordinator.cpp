#include "FileCoordinator.h"

#include "FileError.h"

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

[[noreturn]] void failLocking(const QLockFile &lock, const QString &path)
{
    switch (lock.error()) {
    case QLockFile::LockFailedError:
        throw FileError(Action::lock, path, QStringLiteral("in use by another process"),
                        QCoreApplication::translate("FileError", "另一个程序正在使用它"));
    case QLockFile::PermissionError: throw FileError(Action::lock, path, EACCES);
    case QLockFile::NoError:
    case QLockFile::UnknownError: break;
    }
    fail(Action::lock, path);
}

} // namespace

std::unique_ptr<QLockFile> FileCoordinator::hold(const QString &path)
{
    auto file = std::make_unique<QLockFile>(FileCoordinator::lockPath(path));
    errno = 0;
    if (!file->tryLock(int(FileCoordinator::lockTimeout.count())))
        failLocking(*file, path);
    return file;
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
