#pragma once

#include <QString>
#include <chrono>

// The folder for temporary files (downloads in flight, upload bodies,
// drag-out copies): inside the user's cache folder and readable by the user
// alone, so no other account can read or plant files under a guessable name
// as it could in the shared /tmp.
class PrivateTempFolder {
public:
    // The folder, created with owner-only permissions when missing (and
    // tightened when it exists). Throws StoreError when it cannot be made.
    static QString path();
    // A QTemporaryFile template for a file named "<prefix>XXXXXX" there.
    static QString fileTemplate(const QString &prefix);
    // Removes files starting with `prefix` last modified longer ago than
    // `age`: leftovers of a process that ended before it could clean up.
    static void sweep(const QString &prefix, std::chrono::seconds age);
};
