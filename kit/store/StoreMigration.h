#pragma once

#include <QString>

// The store folder's name and its one-time move from the former name.
class StoreMigration {
public:
    static const QString name;
    static const QString legacyName;

    // The store folder inside base: the current one when it exists, else the
    // former one when that exists, else the current one (to be created).
    static QString currentDirectory(const QString &base);
};
