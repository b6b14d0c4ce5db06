#pragma once

#include <QString>
#include <chrono>

class QLockFile;

// The lock files that guard a store or a shared file: taking over the ones
// nobody holds any more, and telling the user why one cannot be taken.
class LockFiles {
public:
    // Locks `lock` (whose file is `path`) at once, taking over a lock file
    // nobody holds any more.
    static bool tryLock(QLockFile &lock, const QString &path);

    // Removes the lock file at `path` when no process holds it: one whose
    // owner is gone, or one left empty or unreadable for longer than taking
    // a lock lasts. Whether it was removed (or was gone already).
    static bool removeAbandoned(const QString &path);
    // How long an empty or unreadable lock file may still be one being taken.
    static constexpr std::chrono::milliseconds takingTime{10000};

    // Why `lock` failed to lock its file at `path`: who holds it, or what
    // keeps the file from being written, for the log; and the system's
    // error number for the latter (0 when another holds it or none is known).
    struct Refusal {
        QString cause;
        int errorNumber = 0;
    };
    static Refusal whyNotLocked(const QLockFile &lock, const QString &path);

private:
    static bool mayBeBeingTaken(const QString &path);
};
