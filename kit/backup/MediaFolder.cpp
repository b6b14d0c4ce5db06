#include "MediaFolder.h"

#include "BackupFolder.h"
#include "BackupJSON.h"
#include "FileCoordinator.h"
#include "FileError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype uuidLength = 36;

} // namespace

QString MediaFolder::imageName(const QUuid &id)
{
    return Backup::Json::idText(id) + QStringLiteral(".jpg");
}

QString MediaFolder::videoName(const QUuid &id)
{
    return Backup::Json::idText(id) + QStringLiteral(".mp4");
}

MediaFolder::Listing MediaFolder::listing(const QString &folder)
{
    Listing names;
    const auto entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &name : entries)
        names.insert(BackupFolder::logicalName(name), name);
    return names;
}

QByteArray MediaFolder::read(const QString &path)
{
    const QFileInfo given(path);
    const QString target = given.dir().filePath(BackupFolder::logicalName(given.fileName()));
    if (QFileInfo(target).isSymLink())
        throw FileError(FileError::Action::read, target, QStringLiteral("a link, not a file"),
                        QCoreApplication::translate("FileError", "这是一个链接，不是文件"));
    return FileCoordinator::read(target);
}

void MediaFolder::prune(const QString &folder, const Listing &existing, const QSet<QUuid> &keep)
{
    const QDir dir(folder);
    for (auto entry = existing.cbegin(); entry != existing.cend(); ++entry) {
        const auto id = Backup::Json::uuidFromText(QStringView(entry.key()).left(uuidLength));
        if (id && !keep.contains(*id))
            QFile::remove(dir.filePath(entry.value()));
    }
}
