#pragma once

#include "BackupFile.h"
#include "ParseState.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QUuid>
#include <memory>

class Board;
class ModelContext;
class Post;
class Tag;

// Bringing the records of a backup document into the library.
namespace Backup {

using TagMap = QHash<QUuid, std::shared_ptr<Tag>>;
using BoardMap = QHash<QUuid, std::shared_ptr<Board>>;

struct RestoreResult {
    int added = 0;
    int skipped = 0;
    QList<QUuid> toRefresh; // added posts set back to pending, in document order
    QStringList settingsRestored;
    QHash<QUuid, ParseState> originalStates; // the recorded state of each post in toRefresh
};

// Adds what the library lacks and changes nothing it has, apart from giving
// a matched board without linked authors the document's. Saves the context.
// Throws BackupError (unreadable, newerFormat) before any change, and the
// store's errors.
RestoreResult restore(const QByteArray &data, ModelContext &context);

// Creates and inserts one post with its media from a record, linked to the
// mapped tags and boards; its parse state is left pending for the caller.
std::shared_ptr<Post> insert(const PostRecord &record, const TagMap &tags, const BoardMap &boards,
                             ModelContext &context);

// The mapped records of the ids, in id order; ids without one are left out.
template <class Model>
QList<std::shared_ptr<Model>> linked(const QList<QUuid> &ids, const QHash<QUuid, std::shared_ptr<Model>> &map)
{
    QList<std::shared_ptr<Model>> records;
    for (const QUuid &id : ids)
        if (auto record = map.value(id))
            records.append(std::move(record));
    return records;
}

// A new post with a link, not a local note, is parsed again: it is set
// pending and listed with its recorded state. Any other keeps the record's
// state and error.
void settleParseState(Post &post, const PostRecord &record, QList<QUuid> &toRefresh,
                      QHash<QUuid, ParseState> &originalStates);

} // namespace Backup
