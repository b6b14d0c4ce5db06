#pragma once

#include "FolderWrite.h"

#include <QString>
#include <chrono>
#include <functional>

class QLockFile;

// The lock files that guard a store or a shared file: taking over the ones
// nobody holds any more, waiting out the ones still being taken, and telling
// the user why one cannot be taken.
class LockFiles {
public:
    // Locks `lock` (whose file is `path`) at once, taking over a lock file
    // nobody holds any more.
    static bool tryLock(QLockFile &lock, const QString &path);

    // What a wait for a lock does about a lock file that names its holder:
    // gives up at once, or waits for the holder to let go.
    enum class Holder { refuse, outwait };
    // Locks `lock` as tryLock() does, trying again for at most `patience`
    // while its file may still be a lock being taken (until it names its
    // holder or is old enough to take over) and, with `outwait`, while a
    // holder keeps it.
    static bool lock(QLockFile &lock, const QString &path, std::chrono::milliseconds patience, Holder holder);
    // How a wait for a lock lets time pass: a real sleep unless replaced
    // (tests move their clock on instead); an empty function restores it.
    static void setPause(std::function<void(std::chrono::milliseconds)> pause);

    // Removes the lock file at `path` when no process holds it: one whose
    // owner is gone, or one left empty or unreadable for longer than taking
    // a lock lasts. Whether it was removed (or was gone already).
    static bool removeAbandoned(const QString &path);
    // How long an empty or unreadable lock file may still be one being taken.
    static constexpr std::chrono::milliseconds takingTime{10000};

    // Why `lock` failed to lock its file at `path`: who holds it (with no
    // error number), or what keeps the file from being written, also its
    // folder from being made.
    using Refusal = FolderWrite::Failure;
    static Refusal whyNotLocked(const QLockFile &lock, const QString &path);

private:
    static bool mayBeBeingTaken(const QString &path);
};
