#include "BackupCoder.h"

#include "BackupError.h"
#include "BackupJSON.h"
#include "JsonWriter.h"

#include <QCryptographicHash>
#include <limits>

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

void writePost(JsonWriter &out, const PostRecord &post)
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
    out.key(QLatin1String("settings"));
    out.beginObject();
    for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry) {
        out.key(entry.key());
        if (const bool *flag = std::get_if<bool>(&entry.value()))
            out.boolean(*flag);
        else
            out.string(std::get<QString>(entry.value()));
    }
    out.endObject();
}

QString element(const char *list, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(QLatin1String(list)).arg(index);
}

std::optional<int> toOrder(const QJsonValue &value)
{
    const auto integer = toInteger(value);
    if (!integer || *integer < std::numeric_limits<int>::min() || *integer > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*integer);
}

MediaRecord readMedia(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    return {in.required("id", toUUID, "not a UUID"),
            in.required("kind", toText, "not a text"),
            in.required("order", toOrder, "not an integer"),
            in.required("remoteURL", toText, "not a text"),
            in.required("videoRemoteURL", toText, "not a text"),
            in.required("width", toNumber, "not a finite number"),
            in.required("height", toNumber, "not a finite number"),
            in.required("duration", toNumber, "not a finite number")};
}

PostRecord readPost(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    PostRecord post{in.required("id", toUUID, "not a UUID"),
                    in.required("sourceURL", toText, "not a text"),
                    in.required("platform", toText, "not a text"),
                    in.required("title", toText, "not a text"),
                    in.required("content", toText, "not a text"),
                    in.required("note", toText, "not a text"),
                    in.required("authorName", toText, "not a text"),
                    in.required("authorAvatarURL", toText, "not a text"),
                    in.optional("publishedAt", toDate, "not a date"),
                    in.required("createdAt", toDate, "not a date"),
                    in.required("updatedAt", toDate, "not a date"),
                    in.required("parseState", toText, "not a text"),
                    in.required("parseError", toText, "not a text"),
                    in.required("isArchived", toBool, "not true or false"),
                    in.optional("isPrivate", toBool, "not true or false"),
                    in.list("telegramMessageIDs", toInteger, "not an integer", maxListInRecord),
                    in.optional("telegramSyncedAt", toDate, "not a date"),
                    {},
                    in.list("tagIDs", toUUID, "not a UUID", maxListInRecord),
                    in.list("boardIDs", toUUID, "not a UUID", maxListInRecord)};
    const QJsonArray media = in.array("media", maxListInRecord);
    post.media.reserve(media.size());
    for (qsizetype i = 0; i < media.size(); ++i)
        post.media.append(readMedia(media.at(i), in.pathOf(element("media", i))));
    return post;
}

TagRecord readTag(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    return {in.required("id", toUUID, "not a UUID"), in.required("name", toText, "not a text"),
            in.required("colorHex", toText, "not a text"), in.required("createdAt", toDate, "not a date")};
}

BoardRecord readBoard(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    return {in.required("id", toUUID, "not a UUID"), in.required("name", toText, "not a text"),
            in.required("summary", toText, "not a text"), in.required("createdAt", toDate, "not a date"),
            in.optional("authors", toText, "not a text")};
}

AuthorGroupRecord readGroup(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    return {in.required("id", toUUID, "not a UUID"),
            in.required("name", toText, "not a text"),
            in.required("members", toText, "not a text"),
            in.required("createdAt", toDate, "not a date"),
            in.optional("starred", toBool, "not true or false"),
            in.optional("starredAt", toDate, "not a date")};
}

template <class Record>
QList<Record> readRecords(const QJsonArray &array, const char *list,
                          Record (*read)(const QJsonValue &, const QString &))
{
    QList<Record> records;
    records.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i)
        records.append(read(array.at(i), element(list, i)));
    return records;
}

// A Bool first, then a text; anything else fails the document.
std::optional<SettingValue> toSetting(const QJsonValue &value)
{
    if (value.isBool())
        return SettingValue(value.toBool());
    if (value.isString())
        return SettingValue(value.toString());
    return std::nullopt;
}

QMap<QString, SettingValue> readSettings(const ObjectReader &in, const QJsonObject &object)
{
    QMap<QString, SettingValue> settings;
    for (auto entry = object.constBegin(); entry != object.constEnd(); ++entry) {
        const auto value = toSetting(entry.value());
        if (!value)
            in.fail(QStringLiteral("settings.%1").arg(entry.key()), "not true, false or a text");
        settings.insert(entry.key(), *value);
    }
    return settings;
}

File readFile(const ObjectReader &in, qint64 version)
{
    File file;
    file.version = version;
    file.exportedAt = in.required("exportedAt", toDate, "not a date");
    file.posts = readRecords(in.array("posts", maxRecords), "posts", readPost);
    file.tags = readRecords(in.array("tags", maxRecords), "tags", readTag);
    file.boards = readRecords(in.array("boards", maxRecords), "boards", readBoard);
    if (const auto settings = in.optionalObject("settings"))
        file.settings = readSettings(in, *settings);
    if (const auto groups = in.optionalArray("authorGroups", maxRecords))
        file.authorGroups = readRecords(*groups, "authorGroups", readGroup);
    file.syncStamps = in.optionalDateMap("syncStamps");
    file.tombstones = in.optionalDateMap("tombstones");
    return file;
}

QString hexDigest(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

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

File decode(const QByteArray &bytes)
{
    const ObjectReader in(parseObject(bytes), {});
    const qint64 version = in.required("version", toInteger, "not an integer");
    try {
        return readFile(in, version);
    } catch (const BackupError &) {
        if (version > formatVersion)
            throw BackupError::newerFormat();
        throw;
    }
}

void requireKnownVersion(const File &file)
{
    if (file.version > formatVersion)
        throw BackupError::newerFormat();
}

QString fingerprint(const QByteArray &bytes)
{
    try {
        File file = decode(bytes);
        file.exportedAt = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
        return hexDigest(encode(file));
    } catch (const BackupError &) {
        return hexDigest(bytes);
    }
}

} // namespace Backup
