#include "TamselStore.h"

#include "AuthorGroup.h"
#include "Clock.h"
#include "Board.h"
#include "KitLog.h"
#include "Media.h"
#include "Post.h"
#include "StoreError.h"
#include "StoreMigration.h"
#include "Tag.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>

const QString TamselStore::baseIdentifier = QStringLiteral("app.kepsel");
const QString TamselStore::appGroup = QStringLiteral("group.") + TamselStore::baseIdentifier;
const QString TamselStore::cloudContainer = QStringLiteral("iCloud.") + TamselStore::baseIdentifier;

void TamselStore::identifyAsDesktopApplication()
{
    QGuiApplication::setDesktopFileName(StoreMigration::macBundleID());
}

const ModelContainer::Schema &TamselStore::schema()
{
    static const ModelContainer::Schema types{&Post::entityDescription(), &Media::entityDescription(),
                                              &Tag::entityDescription(), &Board::entityDescription(),
                                              &AuthorGroup::entityDescription()};
    return types;
}

QString TamselStore::applicationSupportDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Only the desktop application, identified like a bundle by its desktop file
// name, moves the former store folder; other users of the kit (tests, tools)
// open whatever folder is current. Tried once per process, whatever the outcome.
void TamselStore::migrateStoreOnce()
{
    static const bool migrated = [] {
        if (QGuiApplication::desktopFileName() == StoreMigration::macBundleID())
            StoreMigration::migrateMac(applicationSupportDirectory(), StoreMigration::otherInstanceRunning(),
                                       Clock::now());
        return true;
    }();
    Q_UNUSED(migrated);
}

QString TamselStore::storeDirectory()
{
    migrateStoreOnce();
    const QString folder = StoreMigration::currentDirectory(applicationSupportDirectory());
    QDir().mkpath(folder);
    return folder;
}

// The store file carries the name of the folder it lives in.
QString TamselStore::storeFileName(const QString &storeFolder)
{
    const bool legacy = QFileInfo(storeFolder).fileName() == StoreMigration::legacyName;
    return (legacy ? StoreMigration::legacyName : StoreMigration::name) + QStringLiteral(".store");
}

std::unique_ptr<ModelContainer> TamselStore::makeContainer(bool inMemory)
{
    if (inMemory)
        return std::make_unique<ModelContainer>(schema());
    for (const char *obsolete : {"cloudEnabled", "cloudURL", "cloudToken"})
        defaults().remove(QString::fromLatin1(obsolete));
    const QString folder = storeDirectory();
    const QString storePath = folder + QLatin1Char('/') + storeFileName(folder);
    try {
        return std::make_unique<ModelContainer>(schema(), storePath, schemaVersion);
    } catch (const StoreError &error) {
        qCCritical(tamselLog, "ModelContainer failed for %s: %s", qUtf8Printable(storePath), error.what());
        // The cause goes with the message: the user sees nothing else.
        throw StoreError(QStringLiteral("Unable to create any ModelContainer: %1").arg(error.message()),
                         error.userMessage());
    }
}
