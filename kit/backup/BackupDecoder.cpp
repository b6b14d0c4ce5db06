#include "BackupCoder.h"

#include "BackupError.h"
#include "BackupJSON.h"

namespace Backup {

using namespace Json;

namespace {

QString element(const char *list, qsizetype index)
{
    return QStringLiteral("%1[%2]").arg(QLatin1String(list)).arg(index);
}

MediaRecord readMedia(const QJsonValue &value, const QString &path)
{
    const ObjectReader in(value, path);
    return {in.required("id", toUUID, "not a UUID"),
            in.required("kind", toText, "not a text"),
            in.required("order", toInteger, "not a 64-bit integer"),
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
                    in.list("telegramMessageIDs", toInteger, "not a 64-bit integer", maxListEntries),
                    in.optional("telegramSyncedAt", toDate, "not a date"),
                    {},
                    in.list("tagIDs", toUUID, "not a UUID", maxListEntries),
                    in.list("boardIDs", toUUID, "not a UUID", maxListEntries)};
    const QJsonArray media = in.array("media", maxListEntries);
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
    file.posts = readRecords(in.array("posts", maxListEntries), "posts", readPost);
    file.tags = readRecords(in.array("tags", maxListEntries), "tags", readTag);
    file.boards = readRecords(in.array("boards", maxListEntries), "boards", readBoard);
    if (const auto settings = in.optionalObject("settings"))
        file.settings = readSettings(in, *settings);
    if (const auto groups = in.optionalArray("authorGroups", maxListEntries))
        file.authorGroups = readRecords(*groups, "authorGroups", readGroup);
    file.syncStamps = in.optionalDateMap("syncStamps");
    file.tombstones = in.optionalDateMap("tombstones");
    return file;
}

} // namespace

File decode(const QByteArray &bytes)
{
    const ObjectReader in(parseObject(bytes), {});
    const qint64 version = in.required("version", toInteger, "not a 64-bit integer");
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

} // namespace Backup
