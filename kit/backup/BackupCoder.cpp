#include "BackupCoder.h"

#include "BackupError.h"
#include "BackupJSON.h"

#include <QCryptographicHash>
#include <limits>

namespace Backup {

using namespace Json;

namespace {

QJsonArray idArray(const QList<QUuid> &ids)
{
    QJsonArray array;
    for (const QUuid &id : ids)
        array.append(idText(id));
    return array;
}

void insertOptionalDate(QJsonObject &object, const char *key, const std::optional<QDateTime> &date)
{
    if (date)
        object.insert(QLatin1String(key), dateValue(*date));
}

QJsonObject mediaObject(const MediaRecord &media)
{
    return {{"id", idText(media.id)},
            {"kind", media.kind},
            {"order", media.order},
            {"remoteURL", media.remoteURL},
            {"videoRemoteURL", media.videoRemoteURL},
            {"width", number(media.width, "width")},
            {"height", number(media.height, "height")},
            {"duration", number(media.duration, "duration")}};
}

QJsonObject postObject(const PostRecord &post)
{
    QJsonArray messageIDs;
    for (qint64 id : post.telegramMessageIDs)
        messageIDs.append(id);
    QJsonArray media;
    for (const MediaRecord &item : post.media)
        media.append(mediaObject(item));
    QJsonObject object{{"id", idText(post.id)},
                       {"sourceURL", post.sourceURL},
                       {"platform", post.platform},
                       {"title", post.title},
                       {"content", post.content},
                       {"note", post.note},
                       {"authorName", post.authorName},
                       {"authorAvatarURL", post.authorAvatarURL},
                       {"createdAt", dateValue(post.createdAt)},
                       {"updatedAt", dateValue(post.updatedAt)},
                       {"parseState", post.parseState},
                       {"parseError", post.parseError},
                       {"isArchived", post.isArchived},
                       {"telegramMessageIDs", messageIDs},
                       {"media", media},
                       {"tagIDs", idArray(post.tagIDs)},
                       {"boardIDs", idArray(post.boardIDs)}};
    insertOptionalDate(object, "publishedAt", post.publishedAt);
    insertOptionalDate(object, "telegramSyncedAt", post.telegramSyncedAt);
    if (post.isPrivate)
        object.insert(QLatin1String("isPrivate"), *post.isPrivate);
    return object;
}

QJsonObject tagObject(const TagRecord &tag)
{
    return {{"id", idText(tag.id)},
            {"name", tag.name},
            {"colorHex", tag.colorHex},
            {"createdAt", dateValue(tag.createdAt)}};
}

QJsonObject boardObject(const BoardRecord &board)
{
    QJsonObject object{{"id", idText(board.id)},
                       {"name", board.name},
                       {"summary", board.summary},
                       {"createdAt", dateValue(board.createdAt)}};
    if (board.authors)
        object.insert(QLatin1String("authors"), *board.authors);
    return object;
}

QJsonObject groupObject(const AuthorGroupRecord &group)
{
    QJsonObject object{{"id", idText(group.id)},
                       {"name", group.name},
                       {"members", group.members},
                       {"createdAt", dateValue(group.createdAt)}};
    if (group.starred)
        object.insert(QLatin1String("starred"), *group.starred);
    insertOptionalDate(object, "starredAt", group.starredAt);
    return object;
}

template <class Record>
QJsonArray arrayOf(const QList<Record> &records, QJsonObject (*toObject)(const Record &))
{
    QJsonArray array;
    for (const Record &record : records)
        array.append(toObject(record));
    return array;
}

QJsonObject settingsObject(const QMap<QString, SettingValue> &settings)
{
    QJsonObject object;
    for (auto entry = settings.cbegin(); entry != settings.cend(); ++entry)
        object.insert(entry.key(),
                      std::visit([](const auto &value) { return QJsonValue(value); }, entry.value()));
    return object;
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
    QJsonObject object{{"version", file.version},
                       {"exportedAt", dateValue(file.exportedAt)},
                       {"posts", arrayOf(file.posts, postObject)},
                       {"tags", arrayOf(file.tags, tagObject)},
                       {"boards", arrayOf(file.boards, boardObject)}};
    if (file.settings)
        object.insert(QLatin1String("settings"), settingsObject(*file.settings));
    if (file.authorGroups)
        object.insert(QLatin1String("authorGroups"), arrayOf(*file.authorGroups, groupObject));
    if (file.syncStamps)
        object.insert(QLatin1String("syncStamps"), dateMapObject(*file.syncStamps));
    if (file.tombstones)
        object.insert(QLatin1String("tombstones"), dateMapObject(*file.tombstones));
    return write(object);
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
