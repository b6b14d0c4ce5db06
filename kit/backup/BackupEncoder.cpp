#include "BackupCoder.h"

#include "BackupError.h"
#include "BackupJSON.h"
#include "JsonWriter.h"

namespace Backup {

using namespace Json;

namespace {

// Every writer below gives its keys in ascending order.

void writeIDs(JsonWriter &out, const QList<QUuid> &ids)
{
    out.beginArray();
    for (const QUuid &id : ids)
        out.string(idText(id));
    out.endArray();
}

template <class Value>
void writeOptional(JsonWriter &out, const char *key, const std::optional<Value> &value,
                   void (JsonWriter::*write)(const Value &))
{
    if (!value)
        return;
    out.key(QLatin1String(key));
    (out.*write)(*value);
}

void writeFlag(JsonWriter &out, const char *key, std::optional<bool> value)
{
    if (!value)
        return;
    out.key(QLatin1String(key));
    out.boolean(*value);
}

void writeText(JsonWriter &out, const char *key, const QString &text)
{
    out.key(QLatin1String(key));
    out.string(text);
}

void writeDate(JsonWriter &out, const char *key, const QDateTime &date)
{
    out.key(QLatin1String(key));
    out.date(date);
}

void writeNumber(JsonWriter &out, const char *key, double value)
{
    out.key(QLatin1String(key));
    out.number(value, key);
}

void writeMedia(JsonWriter &out, const MediaRecord &media)
{
    out.beginObject();
    writeNumber(out, "duration", media.duration);
    writeNumber(out, "height", media.height);
    writeText(out, "id", idText(media.id));
    writeText(out, "kind", media.kind);
    out.key(QLatin1String("order"));
    out.integer(media.order);
    writeText(out, "remoteURL", media.remoteURL);
    writeText(out, "videoRemoteURL", media.videoRemoteURL);
    writeNumber(out, "width", media.width);
    out.endObject();
}

void writePostMembers(JsonWriter &out, const PostRecord &post)
{
    out.beginObject();
    writeText(out, "authorAvatarURL", post.authorAvatarURL);
    writeText(out, "authorName", post.authorName);
    out.key(QLatin1String("boardIDs"));
    writeIDs(out, post.boardIDs);
    writeText(out, "content", post.content);
    writeDate(out, "createdAt", post.createdAt);
    writeText(out, "id", idText(post.id));
    writeFlag(out, "isArchived", post.isArchived);
    writeFlag(out, "isPrivate", post.isPrivate);
    out.key(QLatin1String("media"));
    out.beginArray();
    for (const MediaRecord &media : post.media)
        writeMedia(out, media);
    out.endArray();
    writeText(out, "note", post.note);
    writeText(out, "parseError", post.parseError);
    writeText(out, "parseState", post.parseState);
    writeText(out, "platform", post.platform);
    writeOptional(out, "publishedAt", post.publishedAt, &JsonWriter::date);
    writeText(out, "sourceURL", post.sourceURL);
    out.key(QLatin1String("tagIDs"));
    writeIDs(out, post.tagIDs);
    out.key(QLatin1String("telegramMessageIDs"));
    out.beginArray();
    for (qint64 id : post.telegramMessageIDs)
        out.integer(id);
    out.endArray();
    writeOptional(out, "telegramSyncedAt", post.telegramSyncedAt, &JsonWriter::date);
    writeText(out, "title", post.title);
    writeDate(out, "updatedAt", post.updatedAt);
    out.endObject();
}

// The link finds the post in the library's search; a note of one's own has
// only its title.
void writePost(JsonWriter &out, const PostRecord &post)
{
    try {
        writePostMembers(out, post);
    } catch (const BackupError &error) {
        throw BackupError::unwritablePost(post.sourceURL.isEmpty() ? post.title : post.sourceURL,
                                          QStringLiteral("post %1: %2").arg(idText(post.id), error.detail()));
    }
}

void writeTag(JsonWriter &out, const TagRecord &tag)
{
    out.beginObject();
    writeText(out, "colorHex", tag.colorHex);
    writeDate(out, "createdAt", tag.createdAt);
    writeText(out, "id", idText(tag.id));
    writeText(out, "name", tag.name);
    out.endObject();
}

void writeBoard(JsonWriter &out, const BoardRecord &board)
{
    out.beginObject();
    writeOptional(out, "authors", board.authors, &JsonWriter::string);
    writeDate(out, "createdAt", board.createdAt);
    writeText(out, "id", idText(board.id));
    writeText(out, "name", board.name);
    writeText(out, "summary", board.summary);
    out.endObject();
}

void writeGroup(JsonWriter &out, const AuthorGroupRecord &group)
{
    out.beginObject();
    writeDate(out, "createdAt", group.createdAt);
    writeText(out, "id", idText(group.id));
    writeText(out, "members", group.members);
    writeText(out, "name", group.name);
    writeFlag(out, "starred", group.starred);
    writeOptional(out, "starredAt", group.starredAt, &JsonWriter::date);
    out.endObject();
}

template <class Record>
void writeRecords(JsonWriter &out, const char *key, const QList<Record> &records,
                  void (*write)(JsonWriter &, const Record &))
{
    out.key(QLatin1String(key));
    out.beginArray();
    for (const Record &record : records)
        write(out, record);
    out.endArray();
}

void writeSettings(JsonWriter &out, const QMap<QString, SettingValue> &settings)
{
    writeSortedMap(out, "settings", settings, [&](const SettingValue &value) {
        if (const bool *flag = std::get_if<bool>(&value))
            out.boolean(*flag);
        else
            out.string(std::get<QString>(value));
    });
}

template <class Value, class Write> QByteArray encoded(const Value &value, Write write)
{
    JsonWriter out;
    write(out, value);
    return out.take();
}

// Records that compare equal encode alike; others may still (fractions of a
// second, -0), so only those are encoded.
template <class Record>
bool sameRecords(const QList<Record> &a, const QList<Record> &b, void (*write)(JsonWriter &, const Record &))
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]) && encoded(a[i], write) != encoded(b[i], write))
            return false;
    return true;
}

bool sameDateMaps(const std::optional<DateMap> &a, const std::optional<DateMap> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    const auto write = [](JsonWriter &out, const DateMap &map) { writeDateMap(out, "", map); };
    return !a || *a == *b || encoded(*a, write) == encoded(*b, write);
}

// The document without its record lists and date maps, whose shapes are
// compared apart.
File frame(const File &file)
{
    File rest;
    rest.version = file.version;
    rest.exportedAt = file.exportedAt;
    rest.settings = file.settings;
    if (file.authorGroups)
        rest.authorGroups.emplace();
    return rest;
}

} // namespace

bool sameEncoding(const File &a, const File &b)
{
    return a.authorGroups.has_value() == b.authorGroups.has_value() &&
           sameRecords(a.authorGroups.value_or(QList<AuthorGroupRecord>()),
                       b.authorGroups.value_or(QList<AuthorGroupRecord>()), writeGroup) &&
           sameRecords(a.posts, b.posts, writePost) && sameRecords(a.tags, b.tags, writeTag) &&
           sameRecords(a.boards, b.boards, writeBoard) && sameDateMaps(a.syncStamps, b.syncStamps) &&
           sameDateMaps(a.tombstones, b.tombstones) && encode(frame(a)) == encode(frame(b));
}

QByteArray encode(const File &file)
{
    JsonWriter out;
    out.beginObject();
    if (file.authorGroups)
        writeRecords(out, "authorGroups", *file.authorGroups, writeGroup);
    writeRecords(out, "boards", file.boards, writeBoard);
    writeDate(out, "exportedAt", file.exportedAt);
    writeRecords(out, "posts", file.posts, writePost);
    if (file.settings)
        writeSettings(out, *file.settings);
    if (file.syncStamps)
        writeDateMap(out, "syncStamps", *file.syncStamps);
    writeRecords(out, "tags", file.tags, writeTag);
    if (file.tombstones)
        writeDateMap(out, "tombstones", *file.tombstones);
    out.key(QLatin1String("version"));
    out.integer(file.version);
    out.endObject();
    return out.take();
}

} // namespace Backup
