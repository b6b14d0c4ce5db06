#include "StoreMigration.h"

#include <QFileInfo>

const QString StoreMigration::name = QStringLiteral("Kepsel");
const QString StoreMigration::legacyName = QStringLiteral("Plumvat");

QString StoreMigration::currentDirectory(const QString &base)
{
    const QString current = base + QLatin1Char('/') + name;
    if (QFileInfo::exists(current))
        return current;
    const QString legacy = base + QLatin1Char('/') + legacyName;
    if (QFileInfo::exists(legacy))
        return legacy;
    return current;
}
