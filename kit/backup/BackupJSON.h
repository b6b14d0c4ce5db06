#pragma once

#include "BackupFile.h"
#include "JsonWriter.h"
#include "Text.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <algorithm>
#include <optional>

// The JSON forms shared by the backup document and the sync state file:
// strict readers that name the failing key, and writers whose output is the
// same bytes for the same content (keys sorted, "/" unescaped).
namespace Backup::Json {

// Larger files are refused before they are parsed.
inline constexpr qsizetype maxDocumentBytes = qsizetype(512) << 20;

// Throws BackupError::unreadable for a document larger than maxDocumentBytes.
void requireDocumentSize(qint64 bytes);

// Parses a whole document whose top level must be an object. Duplicate keys,
// deep nesting, numbers out of range and anything not JSON are refused with
// BackupError::unreadable.
QJsonObject parseObject(const QByteArray &bytes);

// "YYYY-MM-DDTHH:MM:SSZ", UTC, whole seconds, years 0001-9999 only.
std::optional<QDateTime> dateFromText(QStringView text);
// Drops fractions of a second; throws BackupError::unwritable for a year
// outside 0001-9999 or an invalid date.
QString dateText(const QDateTime &date);
// The 36-character hyphenated form, in either letter case.
std::optional<QUuid> uuidFromText(QStringView text);
// Upper case, as ids are written everywhere.
QString idText(const QUuid &id);

std::optional<QString> toText(const QJsonValue &value);
// A whole number that fits 64 bits exactly.
std::optional<qint64> toInteger(const QJsonValue &value);
std::optional<double> toNumber(const QJsonValue &value);
std::optional<bool> toBool(const QJsonValue &value);
std::optional<QDateTime> toDate(const QJsonValue &value);
std::optional<QUuid> toUUID(const QJsonValue &value);

// A map of id text to time as an object member, keys in ascending order.
void writeDateMap(JsonWriter &out, const char *key, const DateMap &map);
// Any map as an object member, keys in ascending order of Unicode scalars,
// which is the order of their UTF-8 bytes as written. (QString's own order
// compares UTF-16 units and puts astral characters before U+E000-U+FFFF.)
template <class Map, class Write>
void writeSortedMap(JsonWriter &out, const char *key, const Map &map, Write write)
{
    QStringList keys = map.keys();
    std::sort(keys.begin(), keys.end(), Text::scalarLess);
    out.key(QLatin1String(key));
    out.beginObject();
    for (const QString &entry : keys) {
        out.key(entry);
        write(map.value(entry));
    }
    out.endObject();
}

// Reads the members of one object; every failure throws
// BackupError::unreadable naming the path of the member.
class ObjectReader {
public:
    ObjectReader(const QJsonValue &value, const QString &path);

    template <class T> using Convert = std::optional<T> (*)(const QJsonValue &);

    // Missing or null fails.
    template <class T> T required(const char *key, Convert<T> convert, const char *expected) const
    {
        const QJsonValue value = member(key);
        if (value.isUndefined() || value.isNull())
            fail(key, "missing");
        return converted(key, value, convert, expected);
    }
    // Missing or null is no value.
    template <class T>
    std::optional<T> optional(const char *key, Convert<T> convert, const char *expected) const
    {
        const QJsonValue value = member(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        return converted(key, value, convert, expected);
    }
    template <class T>
    QList<T> list(const char *key, Convert<T> convert, const char *expected, qsizetype limit) const
    {
        const QJsonArray elements = array(key, limit);
        QList<T> values;
        values.reserve(elements.size());
        for (qsizetype i = 0; i < elements.size(); ++i) {
            const auto value = convert(elements.at(i));
            if (!value)
                fail(QStringLiteral("%1[%2]").arg(QLatin1String(key)).arg(i), expected);
            values.append(*value);
        }
        return values;
    }

    QJsonArray array(const char *key, qsizetype limit) const;
    std::optional<QJsonArray> optionalArray(const char *key, qsizetype limit) const;
    std::optional<QJsonObject> optionalObject(const char *key) const;
    // Keys are read as upper-case text, so ids in either case meet; of two
    // keys that then collide the later time stays.
    std::optional<DateMap> optionalDateMap(const char *key) const;
    DateMap dateMap(const char *key) const;

    QString pathOf(const QString &key) const;
    [[noreturn]] void fail(const QString &key, const char *reason) const;

private:
    QJsonValue member(const char *key) const { return m_object.value(QLatin1String(key)); }
    DateMap readDateMap(const char *key, const QJsonObject &object) const;
    template <class T>
    T converted(const char *key, const QJsonValue &value, Convert<T> convert, const char *expected) const
    {
        if (auto result = convert(value))
            return *std::move(result);
        fail(QLatin1String(key), expected);
    }

    QJsonObject m_object;
    QString m_path;
};

} // namespace Backup::Json
