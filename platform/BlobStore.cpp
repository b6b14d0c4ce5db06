#include "BlobStore.h"

#include "FileError.h"
#include "FolderWrite.h"
#include "StoreError.h"
#include "StoreLog.h"
#include "Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace {

QString newName()
{
    return Text::uuidText(QUuid::createUuid());
}

// The system's cause in the user's words; none without one, which leaves
// the general words.
QString userFailure(const QString &folder, int errorNumber)
{
    if (!errorNumber)
        return {};
    return QCoreApplication::translate("StoreError", "无法写入收藏库的文件夹“%1”：%2")
        .arg(folder, FileError::reason(errorNumber));
}

// QSaveFile reports no error for a short write, so a full disk is told from
// the space left; any other cause from a write of the folder's own.
StoreError writeFailure(const QFileDevice &file, const QString &folder, qint64 needed)
{
    const qint64 available = QStorageInfo(folder).bytesAvailable();
    if (available >= 0 && available < needed)
        return StoreError(QStringLiteral("cannot write %1: the disk is full (%2 bytes needed, %3 free)")
                              .arg(file.fileName())
                              .arg(needed)
                              .arg(available),
                          QCoreApplication::translate("StoreError", "收藏库所在的磁盘已满"));
    return StoreError(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()),
                      userFailure(folder, FolderWrite::writeError(folder)));
}

} // namespace

void BlobStore::makeFolder() const
{
    if (QDir().mkpath(m_folder))
        return;
    const FolderWrite::Failure failure = FolderWrite::whyNotCreated(m_folder);
    throw StoreError(QStringLiteral("cannot create %1: %2").arg(m_folder, failure.cause),
                     userFailure(m_folder, failure.errorNumber));
}

QString BlobStore::write(const QByteArray &bytes) const
{
    makeFolder();
    const QString name = newName();
    QSaveFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw writeFailure(file, m_folder, bytes.size());
    return name;
}

QString BlobStore::adopt(const QString &sourcePath) const
{
    makeFolder();
    const QString name = newName();
    QFile source(sourcePath);
    const qint64 needed = source.size();
    if (!source.rename(path(name))) {
        QFile::remove(path(name));
        throw writeFailure(source, m_folder, needed);
    }
    return name;
}

std::optional<QByteArray> BlobStore::read(const QString &file) const
{
    QFile source(path(file));
    if (!source.open(QIODevice::ReadOnly)) {
        qCWarning(storeLog, "external bytes unreadable, read as none: %s: %s",
                  qUtf8Printable(source.fileName()), qUtf8Printable(source.errorString()));
        return std::nullopt;
    }
    return source.readAll();
}

qint64 BlobStore::size(const QString &file) const
{
    const QFileInfo info(path(file));
    return info.isFile() ? info.size() : -1;
}

void BlobStore::remove(const QString &file) const
{
    QFile::remove(path(file));
}

QSet<QString> BlobStore::ownFiles() const
{
    QSet<QString> own;
    const QStringList files = QDir(m_folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : files)
        if (Text::uuidText(QUuid::fromString(file)) == file)
            own.insert(file);
    return own;
}

QString BlobStore::path(const QString &file) const
{
    return m_folder + QLatin1Char('/') + file;
}
