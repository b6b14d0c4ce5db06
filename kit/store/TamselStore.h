#pragma once

#include "ModelContainer.h"
#include "UserDefaults.h"

#include <QString>
#include <memory>

// The store facade: the library's schema, where its store lives, opening it,
// the settings and the identifiers formed from the application's base one.
class TamselStore {
public:
    // Reverse-domain base identifier of the application.
    static const QString baseIdentifier;
    static const QString appGroup;
    static const QString cloudContainer;

    // Names this process the desktop application (its desktop file name is
    // the desktop identifier), the one that moves a library out of the
    // former folder. The application calls it before anything else.
    static void identifyAsDesktopApplication();

    // The application's settings.
    static UserDefaults &defaults() { return UserDefaults::standard(); }

    // Post, Media, Tag, Board and AuthorGroup.
    static const ModelContainer::Schema &schema();
    // Raised with every change of the stored fields, so an older store is
    // upgraded and a newer one refused.
    static constexpr int schemaVersion = 1;
    // The store folder in the user's data folder, created when missing (a
    // failure to create it shows when the store is opened).
    static QString storeDirectory();
    // The library's store on disk, or in memory only. On disk it first drops
    // obsolete settings. Throws StoreError "Unable to create any ModelContainer"
    // followed by the cause when the store cannot be opened; nothing is
    // deleted or reset then.
    static std::unique_ptr<ModelContainer> makeContainer(bool inMemory);

private:
    static void migrateStoreOnce();
    static QString applicationSupportDirectory();
    static QString storeFileName(const QString &storeFolder);
};
