#include "JSON.h"

#include "Text.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <charconv>
#include <cmath>

namespace {

constexpr double twoTo63 = 9223372036854775808.0;

std::optional<qint64> storedInteger(const QJsonValue &value)
{
    if (!value.isDouble() || value.toVariant().typeId() != QMetaType::LongLong)
        return std::nullopt;
    return value.toInteger();
}

std::optional<qint64> truncatedToInteger(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double whole = std::trunc(value);
    if (whole < -twoTo63 || whole >= twoTo63)
        return std::nullopt;
    return qint64(whole);
}

QString numberText(const QJsonValue &value)
{
    if (const auto integer = storedInteger(value))
        return QString::number(*integer);
    const double number = value.toDouble();
    if (std::trunc(number) == number && std::fabs(number) < twoTo63)
        return QString::number(qint64(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

// The whole text must be the number: no white space, no group separators.
std::optional<double> doubleFromText(const QString &text)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return std::nullopt;
    static const QLocale c = [] {
        QLocale locale = QLocale::c();
        locale.setNumberOptions(QLocale::RejectGroupSeparator);
        return locale;
    }();
    bool ok = false;
    const double number = c.toDouble(text, &ok);
    if (ok || std::isinf(number))
        return number;
    return std::nullopt;
}

// Exact for integer texts that fit; texts like "12.5" go through the double.
std::optional<qint64> integerFromText(const QString &text)
{
    const QByteArray digits = text.toLatin1();
    qint64 integer = 0;
    const auto [end, error] = std::from_chars(digits.cbegin(), digits.cend(), integer);
    if (error == std::errc() && end == digits.cend() && !digits.isEmpty())
        return integer;
    const auto number = doubleFromText(text);
    return number ? truncatedToInteger(*number) : std::nullopt;
}

QString unreadableAnswer()
{
    return QCoreApplication::translate("JSONError", "无法读取平台返回的内容");
}

} // namespace

JSONError::JSONError(const QString &detail)
    : std::runtime_error(unreadableAnswer().toStdString()), m_detail(detail), m_message(unreadableAnswer())
{
}

JSON::JSON() : m_raw(QJsonValue::Undefined) {}

JSON::JSON(const QJsonValue &raw) : m_raw(raw) {}

JSON JSON::fromData(const QByteArray &data)
{
    const QByteArray body = Text::jsonKeepingZeroWidthNoBreakSpaces(data);
    // QJsonDocument reads only objects and arrays; a one-element array lets it
    // read a top-level fragment as well.
    const QByteArray wrapped = '[' + Text::jsonReplacingLoneSurrogates(body) + ']';
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError)
        throw JSONError(
            QStringLiteral("%1 at offset %2").arg(error.errorString()).arg(qMax(0, error.offset - 1)));
    if (document.array().size() != 1)
        throw JSONError(QStringLiteral("expected exactly one JSON value"));
    return JSON(document.array().first());
}

JSON JSON::fromString(const QString &text)
{
    return fromData(text.toUtf8());
}

JSON JSON::operator[](const QString &key) const
{
    if (!m_raw.isObject())
        return {};
    const QJsonObject object = m_raw.toObject();
    const auto member = object.constFind(key);
    return member == object.constEnd() ? JSON() : JSON(*member);
}

JSON JSON::operator[](const char *key) const
{
    return (*this)[QString::fromUtf8(key)];
}

JSON JSON::operator[](qsizetype index) const
{
    if (!m_raw.isArray())
        return {};
    const QJsonArray list = m_raw.toArray();
    return index >= 0 && index < list.size() ? JSON(list.at(index)) : JSON();
}

bool JSON::exists() const
{
    return !m_raw.isUndefined() && !m_raw.isNull();
}

QList<JSON> JSON::array() const
{
    QList<JSON> elements;
    if (!m_raw.isArray())
        return elements;
    const QJsonArray list = m_raw.toArray();
    elements.reserve(list.size());
    for (const QJsonValue &element : list)
        elements.append(JSON(element));
    return elements;
}

QMap<QString, JSON> JSON::dictionary() const
{
    QMap<QString, JSON> members;
    const QJsonObject object = m_raw.toObject();
    for (auto member = object.constBegin(); member != object.constEnd(); ++member)
        members.insert(member.key(), JSON(member.value()));
    return members;
}

std::optional<QString> JSON::string() const
{
    if (m_raw.isString())
        return m_raw.toString();
    if (m_raw.isBool())
        return m_raw.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (m_raw.isDouble())
        return numberText(m_raw);
    return std::nullopt;
}

QString JSON::stringValue() const
{
    return string().value_or(QString());
}

std::optional<double> JSON::doubleValue() const
{
    if (m_raw.isBool())
        return m_raw.toBool() ? 1.0 : 0.0;
    if (m_raw.isDouble())
        return m_raw.toDouble();
    if (m_raw.isString())
        return doubleFromText(m_raw.toString());
    return std::nullopt;
}

std::optional<qint64> JSON::intValue() const
{
    if (m_raw.isBool())
        return m_raw.toBool() ? 1 : 0;
    if (const auto integer = storedInteger(m_raw))
        return integer;
    if (m_raw.isDouble())
        return truncatedToInteger(m_raw.toDouble());
    if (m_raw.isString())
        return integerFromText(m_raw.toString());
    return std::nullopt;
}

std::optional<bool> JSON::boolValue() const
{
    if (m_raw.isBool())
        return m_raw.toBool();
    if (m_raw.isDouble())
        return m_raw.toDouble() != 0.0;
    if (m_raw.isString()) {
        const QString word = m_raw.toString().toLower();
        if (word == u"true" || word == u"1")
            return true;
        if (word == u"false" || word == u"0")
            return false;
    }
    return std::nullopt;
}
