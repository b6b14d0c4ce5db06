#include "BackupJSON.h"

#include "BackupError.h"
#include "Text.h"

#include <QDate>
#include <QJsonDocument>
#include <QTime>
#include <cmath>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace Backup::Json {

namespace {

qsizetype skipSpace(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\n' || bytes[at] == '\r' || bytes[at] == '\t'))
        ++at;
    return at;
}

// The end of the string literal that opens at `at` (one past its quote).
qsizetype stringEnd(const QByteArray &bytes, qsizetype at)
{
    for (++at; at < bytes.size(); ++at) {
        if (bytes[at] == '\\')
            ++at;
        else if (bytes[at] == '"')
            return at + 1;
    }
    return at;
}

// A key written with escapes as its text, so "\u0061" and "a" are the same key.
std::string keyText(const QByteArray &bytes, qsizetype begin, qsizetype end)
{
    const std::string_view raw(bytes.constData() + begin, size_t(end - begin));
    const QByteArray wrapped = '[' + QByteArray(raw.data(), qsizetype(raw.size())) + ']';
    return QJsonDocument::fromJson(wrapped).array().first().toString().toStdString();
}

bool isKeyAt(const QByteArray &bytes, qsizetype stringEnd)
{
    const qsizetype next = skipSpace(bytes, stringEnd);
    return next < bytes.size() && bytes[next] == ':';
}

// Qt's reader keeps the last of repeated keys without a word; the phone's may
// keep another, so a document with repeats means different things to each.
// Runs on bytes the JSON reader accepted, so the structure is sound.
std::optional<QString> firstRepeatedKey(const QByteArray &bytes)
{
    // Keys without escapes are seen in place; only the others are copied.
    std::deque<std::string> unescaped;
    const auto keyAt = [&](qsizetype begin, qsizetype end) {
        const std::string_view raw(bytes.constData() + begin + 1, size_t(end - begin - 2));
        if (raw.find('\\') == std::string_view::npos)
            return raw;
        return std::string_view(unescaped.emplace_back(keyText(bytes, begin, end)));
    };
    std::vector<std::unordered_set<std::string_view>> objects; // one set per open object or array
    std::vector<bool> isObject;
    for (qsizetype at = 0; at < bytes.size();) {
        const char c = bytes[at];
        if (c == '{' || c == '[') {
            objects.emplace_back();
            isObject.push_back(c == '{');
            ++at;
        } else if (c == '}' || c == ']') {
            objects.pop_back();
            isObject.pop_back();
            ++at;
        } else if (c == '"') {
            const qsizetype end = stringEnd(bytes, at);
            if (!isObject.empty() && isObject.back() && isKeyAt(bytes, end)) {
                const std::string_view key = keyAt(at, end);
                if (!objects.back().insert(key).second)
                    return QString::fromUtf8(key.data(), qsizetype(key.size()));
            }
            at = end;
        } else {
            ++at;
        }
    }
    return std::nullopt;
}

// Qt's reader takes ".5" and "1080." as numbers, drops the backslash of an
// unknown escape and keeps raw control characters in texts. Such a document
// is not JSON, and reading it would rewrite the phone's text, so the tokens
// are checked against the JSON grammar first. Qt also reads an integer just
// below the 64-bit range as the lowest 64-bit one, so integers written
// without fraction or exponent must fit 64 bits (writers put large doubles
// in exponent form).
class TokenCheck {
public:
    explicit TokenCheck(const QByteArray &bytes) : m_bytes(bytes) {}

    std::optional<QString> firstFault()
    {
        while (m_at < m_bytes.size() && !m_fault) {
            const char c = m_bytes[m_at];
            if (c == '"')
                checkText();
            else if (c == '-' || c == '+' || c == '.' || isDigit(c))
                checkNumber();
            else
                ++m_at;
        }
        return m_fault;
    }

private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
    char at(qsizetype index) const { return index < m_bytes.size() ? m_bytes[index] : '\0'; }

    void fail(const char *what, qsizetype offset)
    {
        m_fault = QStringLiteral("%1 at offset %2").arg(QLatin1String(what)).arg(offset);
    }

    void checkText()
    {
        for (++m_at; m_at < m_bytes.size(); ++m_at) {
            const auto c = static_cast<unsigned char>(m_bytes[m_at]);
            if (c == '"') {
                ++m_at;
                return;
            }
            if (c < 0x20)
                return fail("raw control character in a text", m_at);
            if (c == '\\' && !checkEscape())
                return;
        }
    }

    // Leaves m_at on the escape's last character.
    bool checkEscape()
    {
        const char kind = at(m_at + 1);
        if (kind != 'u') {
            if (!std::strchr("\"\\/bfnrt", kind) || kind == '\0') {
                fail("unknown escape in a text", m_at);
                return false;
            }
            ++m_at;
            return true;
        }
        for (qsizetype i = 2; i < 6; ++i) {
            if (!isHex(at(m_at + i))) {
                fail("unknown escape in a text", m_at);
                return false;
            }
        }
        m_at += 5;
        return true;
    }

    qsizetype digitsFrom(qsizetype from) const
    {
        qsizetype end = from;
        while (isDigit(at(end)))
            ++end;
        return end - from;
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    void checkNumber()
    {
        const qsizetype start = m_at;
        qsizetype end = m_at + (at(m_at) == '-' ? 1 : 0);
        const qsizetype whole = digitsFrom(end);
        bool sound = whole > 0 && !(whole > 1 && at(end) == '0');
        end += whole;
        if (sound && at(end) == '.') {
            const qsizetype fraction = digitsFrom(end + 1);
            sound = fraction > 0;
            end += 1 + fraction;
        }
        if (sound && (at(end) == 'e' || at(end) == 'E')) {
            end += (at(end + 1) == '+' || at(end + 1) == '-') ? 2 : 1;
            const qsizetype exponent = digitsFrom(end);
            sound = exponent > 0;
            end += exponent;
        }
        const char next = at(end);
        if (!sound || next == '.' || next == 'e' || next == 'E' || next == '+' || next == '-' ||
            isDigit(next))
            return fail("malformed number", start);
        if (end - start == whole + (at(start) == '-' ? 1 : 0) && !fits64Bits(start, end))
            return fail("integer beyond 64 bits", start);
        m_at = end;
    }

    bool fits64Bits(qsizetype start, qsizetype end) const
    {
        const bool negative = at(start) == '-';
        const std::string_view magnitude(m_bytes.constData() + start + (negative ? 1 : 0),
                                         size_t(end - start - (negative ? 1 : 0)));
        const std::string_view limit = negative ? "9223372036854775808" : "9223372036854775807";
        return magnitude.size() < limit.size() || (magnitude.size() == limit.size() && magnitude <= limit);
    }

    const QByteArray &m_bytes;
    qsizetype m_at = 0;
    std::optional<QString> m_fault;
};

int digits(QStringView text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

struct CivilTime {
    qint64 year = 0;
    int month = 0;
    int day = 0;
    int secondOfDay = 0;
};

// The proleptic Gregorian calendar in whole numbers (days counted from the
// 1st of March of year 0, so leap days fall at the end of each year):
// cheaper than going through QDate and QTime for every date written.
CivilTime civilTime(qint64 secondsSinceEpoch)
{
    constexpr qint64 secondsPerDay = 86400, daysPer400Years = 146097, daysFromMarchYear0 = 719468;
    const qint64 wholeDays = secondsSinceEpoch / secondsPerDay - (secondsSinceEpoch % secondsPerDay < 0);
    const qint64 days = wholeDays + daysFromMarchYear0;
    const qint64 era = (days >= 0 ? days : days - (daysPer400Years - 1)) / daysPer400Years;
    const qint64 dayOfEra = days - era * daysPer400Years;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / (daysPer400Years - 1)) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shiftedMonth = (5 * dayOfYear + 2) / 153;
    CivilTime civil;
    civil.month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    civil.year = yearOfEra + era * 400 + (civil.month <= 2);
    civil.day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    civil.secondOfDay = int(secondsSinceEpoch - wholeDays * secondsPerDay);
    return civil;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

void requireDocumentSize(qint64 bytes)
{
    if (bytes > maxDocumentBytes)
        throw BackupError::unreadable(QStringLiteral("file larger than %1 MB").arg(maxDocumentBytes >> 20));
}

QJsonObject parseObject(const QByteArray &bytes)
{
    requireDocumentSize(bytes.size());
    // Every text read is one UTF-8 can hold, so a document read and written
    // again gives the same bytes.
    if (const auto fault = TokenCheck(bytes).firstFault())
        throw BackupError::unreadable(*fault);
    const QByteArray readable = Text::jsonReplacingLoneSurrogates(bytes);
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(readable, &error);
    if (error.error != QJsonParseError::NoError)
        throw BackupError::unreadable(
            QStringLiteral("%1 at offset %2").arg(error.errorString()).arg(error.offset));
    if (!document.isObject())
        throw BackupError::unreadable(QStringLiteral("top level is not an object"));
    if (const auto key = firstRepeatedKey(readable))
        throw BackupError::unreadable(QStringLiteral("key \"%1\" appears twice").arg(*key));
    return document.object();
}

std::optional<QDateTime> dateFromText(QStringView text)
{
    if (text.size() != 20 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' ||
        text[16] != u':' || text[19] != u'Z')
        return std::nullopt;
    const int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (year < 1 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

DateText dateText(const QDateTime &date)
{
    const CivilTime civil = date.isValid() ? civilTime(date.toSecsSinceEpoch()) : CivilTime{};
    if (civil.year < 1 || civil.year > 9999)
        throw BackupError::unwritable(
            date.isValid() ? QStringLiteral("date out of range: %1 s after 1970").arg(date.toSecsSinceEpoch())
                           : QStringLiteral("invalid date"));
    DateText text{};
    char *out = text.data();
    const auto put = [&out](qint64 value, int width, char after) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            out[i] = char('0' + value % 10);
        out[width] = after;
        out += width + 1;
    };
    put(civil.year, 4, '-');
    put(civil.month, 2, '-');
    put(civil.day, 2, 'T');
    put(civil.secondOfDay / 3600, 2, ':');
    put(civil.secondOfDay / 60 % 60, 2, ':');
    put(civil.secondOfDay % 60, 2, 'Z');
    return text;
}

std::optional<QUuid> uuidFromText(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < 36; ++i) {
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? text[i] != u'-' : !isHexDigit(text[i]))
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QString idText(const QUuid &id)
{
    return Text::uuidText(id);
}

std::optional<QString> toText(const QJsonValue &value)
{
    return value.isString() ? std::optional(value.toString()) : std::nullopt;
}

std::optional<qint64> toInteger(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    // Integers past 64 bits never get here (see TokenCheck); any other
    // number converts only when it is whole and in range, and only then do
    // both fallbacks give the same value.
    const qint64 integer = value.toInteger(0);
    if (integer != value.toInteger(1))
        return std::nullopt;
    return integer;
}

std::optional<double> toNumber(const QJsonValue &value)
{
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<bool> toBool(const QJsonValue &value)
{
    return value.isBool() ? std::optional(value.toBool()) : std::nullopt;
}

std::optional<QDateTime> toDate(const QJsonValue &value)
{
    return value.isString() ? dateFromText(value.toString()) : std::nullopt;
}

std::optional<QUuid> toUUID(const QJsonValue &value)
{
    return value.isString() ? uuidFromText(value.toString()) : std::nullopt;
}

void writeDateMap(JsonWriter &out, const char *key, const DateMap &map)
{
    writeSortedMap(out, key, map, [&](const QDateTime &date) { out.date(date); });
}

ObjectReader::ObjectReader(const QJsonValue &value, const QString &path)
    : m_object(value.toObject()), m_path(path)
{
    if (!value.isObject())
        throw BackupError::unreadable(QStringLiteral("%1: not an object").arg(path));
}

QJsonArray ObjectReader::array(const char *key, qsizetype limit) const
{
    if (auto elements = optionalArray(key, limit))
        return *std::move(elements);
    fail(QLatin1String(key), "missing");
}

std::optional<QJsonArray> ObjectReader::optionalArray(const char *key, qsizetype limit) const
{
    const auto elements = optional<QJsonArray>(
        key,
        [](const QJsonValue &value) {
            return value.isArray() ? std::optional(value.toArray()) : std::nullopt;
        },
        "not a list");
    if (elements && elements->size() > limit)
        fail(QLatin1String(key), "too many entries");
    return elements;
}

std::optional<QJsonObject> ObjectReader::optionalObject(const char *key) const
{
    return optional<QJsonObject>(
        key,
        [](const QJsonValue &value) {
            return value.isObject() ? std::optional(value.toObject()) : std::nullopt;
        },
        "not an object");
}

std::optional<DateMap> ObjectReader::optionalDateMap(const char *key) const
{
    const auto object = optionalObject(key);
    return object ? std::optional(readDateMap(key, *object)) : std::nullopt;
}

DateMap ObjectReader::dateMap(const char *key) const
{
    if (auto map = optionalDateMap(key))
        return *std::move(map);
    fail(QLatin1String(key), "missing");
}

DateMap ObjectReader::readDateMap(const char *key, const QJsonObject &object) const
{
    DateMap map;
    map.reserve(object.size());
    for (auto entry = object.constBegin(); entry != object.constEnd(); ++entry) {
        const auto date = toDate(entry.value());
        if (!date)
            fail(QStringLiteral("%1.%2").arg(QLatin1String(key), entry.key()), "not a date");
        QDateTime &kept = map[entry.key().toUpper()];
        if (!kept.isValid() || kept < *date)
            kept = *date;
    }
    return map;
}

QString ObjectReader::pathOf(const QString &key) const
{
    return m_path.isEmpty() ? key : m_path + QLatin1Char('.') + key;
}

void ObjectReader::fail(const QString &key, const char *reason) const
{
    throw BackupError::unreadable(QStringLiteral("%1: %2").arg(pathOf(key), QLatin1String(reason)));
}

} // namespace Backup::Json
