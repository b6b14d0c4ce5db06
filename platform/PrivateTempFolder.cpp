#include "PrivateTempFolder.h"

#include "Clock.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString PrivateTempFolder::path()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/kepsel/tmp");
    if (!QDir().mkpath(folder))
        throw StoreError(QStringLiteral("Cannot create the temporary folder %1").arg(folder));
    if (!QFile::setPermissions(folder,
                               QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        throw StoreError(QStringLiteral("Cannot restrict the temporary folder %1").arg(folder));
    return folder;
}

QString PrivateTempFolder::fileTemplate(const QString &prefix)
{
    return path() + QLatin1Char('/') + prefix + QStringLiteral("XXXXXX");
}

void PrivateTempFolder::sweep(const QString &prefix, std::chrono::seconds age)
{
    const QDateTime cutoff = Clock::now().addSecs(-age.count());
    const QDir folder(path());
    const auto files = folder.entryInfoList({prefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (file.lastModified() < cutoff)
            QFile::remove(file.absoluteFilePath());
    }
}
