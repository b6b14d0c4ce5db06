#pragma once

#include <QString>

class QLockFile;

// The lock files that guard a store or a shared file: taking over the ones
// nobody holds any more, and telling the user why one cannot be taken.
class LockFiles {
public:
    // Locks `lock` (whose file is `path`) at once, taking over a lock file
    // nobody holds any more.
    static bool tryLock(QLockFile &lock, const QString &path);

    // Removes the lock file at `path` when no process holds it: one left
    // empty by a process killed while taking it, or whose owner is gone.
    // Whether it was removed (or was gone already).
    static bool removeAbandoned(const QString &path);

    // Why `lock` failed to lock its file at `path`, for a message: who holds
    // it, or what keeps the file from being written.
    static QString whyNotLocked(const QLockFile &lock, const QString &path);
};
