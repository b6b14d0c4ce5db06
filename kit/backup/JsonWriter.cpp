#include "JsonWriter.h"

#include "BackupError.h"
#include "BackupJSON.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace Backup {

namespace {

constexpr double twoTo53 = 9007199254740992.0;

char hexDigit(int value)
{
    return "0123456789abcdef"[value & 0xF];
}

} // namespace

void JsonWriter::key(QLatin1String name)
{
    beginValue();
    quoted(QByteArrayView(name.data(), name.size()));
    m_bytes += ": ";
    m_afterKey = true;
}

void JsonWriter::key(const QString &name)
{
    beginValue();
    quoted(name);
    m_bytes += ": ";
    m_afterKey = true;
}

void JsonWriter::string(const QString &text)
{
    beginValue();
    quoted(text);
}

void JsonWriter::integer(qint64 value)
{
    beginValue();
    m_bytes += QByteArray::number(value);
}

void JsonWriter::boolean(bool value)
{
    beginValue();
    m_bytes += value ? "true" : "false";
}

void JsonWriter::number(double value, const char *what)
{
    if (!std::isfinite(value))
        throw BackupError::unwritable(QStringLiteral("%1 is not a finite number").arg(QLatin1String(what)));
    beginValue();
    if (std::trunc(value) == value && std::fabs(value) < twoTo53)
        m_bytes += QByteArray::number(qint64(value));
    else
        m_bytes += QByteArray::number(value, 'g', QLocale::FloatingPointShortest);
}

void JsonWriter::date(const QDateTime &date)
{
    const Json::DateText text = Json::dateText(date);
    beginValue();
    m_bytes += '"';
    m_bytes.append(text.data(), qsizetype(text.size()));
    m_bytes += '"';
}

QByteArray JsonWriter::take()
{
    m_bytes += '\n';
    return std::exchange(m_bytes, {});
}

void JsonWriter::open(char bracket)
{
    beginValue();
    m_bytes += bracket;
    m_empty.push_back(true);
}

void JsonWriter::close(char bracket)
{
    const bool empty = m_empty.back();
    m_empty.pop_back();
    if (!empty) {
        m_bytes += '\n';
        indent();
    }
    m_bytes += bracket;
}

void JsonWriter::beginValue()
{
    if (std::exchange(m_afterKey, false) || m_empty.empty())
        return;
    if (!m_empty.back())
        m_bytes += ',';
    m_empty.back() = false;
    m_bytes += '\n';
    indent();
}

void JsonWriter::indent()
{
    m_bytes.append(qsizetype(m_empty.size()) * 4, ' ');
}

void JsonWriter::quoted(const QString &text)
{
    // Ids, links and keys are ASCII, whose UTF-8 is the same characters:
    // they are copied into one reused buffer instead of a new array each.
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii)
        return quoted(QByteArrayView(text.toUtf8()));
    m_ascii.resize(text.size());
    std::transform(text.cbegin(), text.cend(), m_ascii.data(), [](QChar c) { return char(c.unicode()); });
    quoted(QByteArrayView(m_ascii));
}

void JsonWriter::quoted(QByteArrayView utf8)
{
    m_bytes += '"';
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const uchar c = uchar(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        m_bytes += utf8.sliced(plainFrom, i - plainFrom);
        plainFrom = i + 1;
        switch (c) {
        case '"': m_bytes += "\\\""; break;
        case '\\': m_bytes += "\\\\"; break;
        case '\b': m_bytes += "\\b"; break;
        case '\f': m_bytes += "\\f"; break;
        case '\n': m_bytes += "\\n"; break;
        case '\r': m_bytes += "\\r"; break;
        case '\t': m_bytes += "\\t"; break;
        default:
            m_bytes += "\\u00";
            m_bytes += hexDigit(c >> 4);
            m_bytes += hexDigit(c);
        }
    }
    m_bytes += utf8.sliced(plainFrom);
    m_bytes += '"';
}

} // namespace Backup
