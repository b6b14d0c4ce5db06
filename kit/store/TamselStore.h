#pragma once

#include "UserDefaults.h"

#include <QString>

// The store facade: settings, identifiers and (later) the library store.
class TamselStore {
public:
    // Reverse-domain base identifier of the application.
    static const QString baseIdentifier;
    static const QString appGroup;
    static const QString cloudContainer;

    // The application's settings.
    static UserDefaults &defaults() { return UserDefaults::standard(); }
};
