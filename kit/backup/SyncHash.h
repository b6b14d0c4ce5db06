#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class AuthorGroup;
class Board;
class ModelContext;
class Post;
class Tag;

// Short content hashes of the synced fields of each record, to tell on this
// device whether a record changed since the last merge. They never leave it.
namespace Sync {

// Id text to content hash of every live post, tag, board and author group.
using Snapshot = QHash<QString, QString>;

// The parts joined with U+001F (unescaped), SHA-256, first 12 bytes in
// lower-case hex: always 24 characters.
QString hash(const QStringList &parts);

// The note, flags, tags, boards and channel data; title and text only for
// local notes, since for other posts they come from parsing the link.
QString postHash(const Post &post);
QString tagHash(const Tag &tag);
QString boardHash(const Board &board);
QString groupHash(const AuthorGroup &group);

// Every record of the context not deleted yet. Throws what the fetch throws.
Snapshot snapshot(ModelContext &context);

} // namespace Sync
