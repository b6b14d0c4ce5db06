#pragma once

#include "BackupFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

namespace Sync {

// The one "no stamp" time, written as "0001-01-01T00:00:00Z" on every path.
QDateTime distantPast();

// "SyncState.json" in the store folder; never shared.
QString stateURL();

// What the merge keeps between runs, keyed by upper-case id text (posts, tags,
// boards and author groups share one key space).
struct State {
    QHash<QString, QString> hashes; // content hash of each live record after the last merge
    Backup::DateMap stamps;         // when this device last knew each record to change
    Backup::DateMap tombstones;     // when a record was deleted, here or elsewhere

    // A missing file is an empty state. A file that exists but cannot be read
    // is moved aside (and logged) before the empty state is returned, so
    // writing the next state never destroys it.
    static State read(const QString &path);
    // Throws BackupError::unreadable; all three keys are required.
    static State decode(const QByteArray &bytes);
    QByteArray encode() const;
    // Creates the folder and replaces the file atomically; throws FileError.
    void write(const QString &path) const;

    bool operator==(const State &) const = default;
};

} // namespace Sync
