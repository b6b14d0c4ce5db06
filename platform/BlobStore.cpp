#include "BlobStore.h"

#include "StoreError.h"
#include "StoreLog.h"
#include "Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString BlobStore::write(const QByteArray &bytes) const
{
    if (!QDir().mkpath(m_folder))
        throw StoreError(QStringLiteral("cannot create %1").arg(m_folder));
    const QString name = Text::uuidText(QUuid::createUuid());
    QSaveFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw StoreError(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
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

bool BlobStore::exists(const QString &file) const
{
    return QFileInfo::exists(path(file));
}

void BlobStore::remove(const QString &file) const
{
    QFile::remove(path(file));
}

QString BlobStore::path(const QString &file) const
{
    return m_folder + QLatin1Char('/') + file;
}
