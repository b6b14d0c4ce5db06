#include "FolderWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

QString FolderWrite::causeOf(int error, const QString &folder)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("the disk is full");
    case EACCES:
    case EPERM: return QStringLiteral("no permission to write in %1").arg(folder);
    case EROFS: return QStringLiteral("the disk is read-only");
    default: return QStringLiteral("cannot write in %1: %2").arg(folder, qt_error_string(error));
    }
}

// A real file is made and written, so the answer is the file system's own.
int FolderWrite::writeError(const QString &folder)
{
    const QByteArray probe = QFile::encodeName(folder + QStringLiteral("/.write-probe-") +
                                               QUuid::createUuid().toString(QUuid::Id128));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const bool written = ::write(fd, "x", 1) == 1 && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    ::unlink(probe.constData());
    return written ? 0 : error;
}

FolderWrite::Failure FolderWrite::whyNotCreated(const QString &folder)
{
    QString existing = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath())
        existing = QFileInfo(existing).path();
    if (!QFileInfo(existing).isDir())
        return {QStringLiteral("%1 is a file, not a folder").arg(existing), ENOTDIR};
    const int error = writeError(existing);
    if (!error)
        return {QStringLiteral("the folder could not be made")};
    return {causeOf(error, existing), error};
}
