#pragma once

#include <QString>

// What keeps files from being written in a folder, in words for a message.
class FolderWrite {
public:
    // A cause in words for the log, and the system's error number (errno)
    // for it, 0 when none is known.
    struct Failure {
        QString cause;
        int errorNumber = 0;
    };

    // The system's error number for why no file can be written in `folder`
    // (a full disk, no permission, a read-only disk), 0 when one can.
    static int writeError(const QString &folder);
    // The words for writeError()'s non-zero `error` in `folder`.
    static QString causeOf(int error, const QString &folder);
    // Why `folder` could not be made: a file in its place, or why its
    // nearest existing parent takes no new entries.
    static Failure whyNotCreated(const QString &folder);
};
