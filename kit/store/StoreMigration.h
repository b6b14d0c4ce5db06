#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <chrono>
#include <memory>

// The store folder's name and its one-time move from the former name. The
// move copies the library first and keeps the former folder as a safety
// copy, so no step of it can lose the library.
class StoreMigration {
public:
    static const QString name;
    static const QString legacyName;

    // Identifier of the desktop application, the only one that migrates.
    static QString macBundleID();

    struct Outcome {
        enum class Kind { migrated, skipped, failed, nothingToDo };

        // migrated: where the former folder is kept; skipped, failed: why.
        static Outcome migrated(const QString &keptPlace) { return {Kind::migrated, keptPlace}; }
        static Outcome skipped(const QString &reason) { return {Kind::skipped, reason}; }
        static Outcome failed(const QString &description) { return {Kind::failed, description}; }
        static Outcome nothingToDo() { return {Kind::nothingToDo, {}}; }

        bool operator==(const Outcome &other) const = default;

        Kind kind;
        QString payload;
    };

    // The store folder inside base: the current one when it exists, else the
    // former one when that exists, else the current one (to be created).
    static QString currentDirectory(const QString &base);

    // Moves a library from base/Plumvat to base/Kepsel, keeping the former
    // folder under base/Plumvat-sync-safety. Never throws; logs its outcome.
    static Outcome migrateMac(const QString &base, bool otherInstanceRunning, const QDateTime &now);

    // Every running instance of the application holds one lock file in the
    // user's config folder: the application takes it at start, before it
    // opens the store, and keeps the returned lock until it quits. Nothing
    // when another instance holds it, at once or, given a `holderWait`,
    // when it still does after that long (one quitting lets go). A lock file
    // still being taken is waited for until it names its holder.
    static std::unique_ptr<QLockFile> takeInstanceLock(std::chrono::milliseconds holderWait = {});
    // Whether another process holds the instance lock.
    static bool otherInstanceRunning();
};
