#pragma once

#include "ParseState.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QUuid>
#include <optional>

class ModelContext;

namespace Sync {

// What one merge did.
struct Result {
    // The document to write to the shared folder; none when it already holds
    // the same content.
    std::optional<QByteArray> output;
    // The merged document, encoded, also when the folder already holds it.
    QByteArray document;
    int added = 0;          // tags, boards, author groups and posts created from the shared document
    int updated = 0;        // records overwritten by newer remote ones
    int deleted = 0;        // local records deleted because of a tombstone
    QList<QUuid> toRefresh; // new posts to parse again, in insertion order
    QHash<QUuid, ParseState> originalStates; // the remote parse state of each of them
    QStringList settingsRestored;

    // Whether the merge changed the local store (not whether there is output).
    bool changedLocally() const { return added + updated + deleted > 0; }
};

// Merges the shared document (none when the folder has none) with the
// library both ways, record by record, by change stamps and tombstones kept
// in the state file, saves the context and rewrites the state file. `now`
// stamps every change found in this run. Throws BackupError (unreadable or
// newerFormat) before the store is changed, and the store's errors.
Result merge(const std::optional<QByteArray> &data, ModelContext &context, const QString &stateURL,
             const QDateTime &now);

} // namespace Sync
