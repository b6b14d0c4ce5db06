#include "FileCoordinator.h"

#include "FileError.h"
#include "LockFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

[[noreturn]] void fail(const QString &action, const QString &path, const QString &cause)
{
    throw FileError(QStringLiteral("%1 %2: %3").arg(action, path, cause));
}

} // namespace

// A lock whose holder is gone (killed, or killed while taking it) is taken
// over at once rather than after QLockFile's stale time.
std::unique_ptr<QLockFile> FileCoordinator::hold(const QString &path)
{
    const QString lock = lockPath(path);
    auto file = std::make_unique<QLockFile>(lock);
    const bool taken =
        LockFiles::tryLock(*file, lock) || (file->error() == QLockFile::LockFailedError &&
                                            file->tryLock(int(FileCoordinator::lockTimeout.count())));
    if (taken)
        return file;
    fail(QStringLiteral("Cannot lock"), path, LockFiles::whyNotLocked(*file, lock));
}

QString FileCoordinator::lockPath(const QString &path)
{
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

QByteArray FileCoordinator::read(const QString &path)
{
    const auto guard = hold(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot read"), path, file.errorString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("Cannot read"), path, file.errorString());
    return data;
}

void FileCoordinator::write(const QByteArray &data, const QString &path)
{
    const auto guard = hold(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Cannot write"), path, file.errorString());
    // QSaveFile reports no error for a short write (a full disk): count the bytes.
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        fail(QStringLiteral("Cannot write"), path,
             QStringLiteral("the disk is full or the write was cut short"));
    }
    if (!file.commit())
        fail(QStringLiteral("Cannot write"), path, file.errorString());
}

void FileCoordinator::move(const QString &source, const QString &target)
{
    const auto sourceGuard = hold(source);
    const auto targetGuard = hold(target);
    // rename(2) replaces an existing target file in one step.
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) != 0)
        fail(QStringLiteral("Cannot move"), source, qt_error_string(errno));
}
