#include "Text.h"

#include <QCollator>
#include <QLocale>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <charconv>
#include <optional>

namespace Text {

QString canonical(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C);
}

QString cappedKey(const QString &text)
{
    if (text.size() <= keyLengthLimit)
        return text;
    const bool splitsPair = text[keyLengthLimit - 1].isHighSurrogate();
    return text.left(splitsPair ? keyLengthLimit - 1 : keyLengthLimit);
}

qsizetype characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

QString characterPrefix(const QString &text, qsizetype count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next == -1)
            return text;
        end = next;
    }
    return text.left(end);
}

namespace {

bool isLineBreak(char32_t c)
{
    return c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Space separators and the tab, without line breaks.
bool isWhitespace(char32_t c)
{
    return c == 0x09 || QChar::category(c) == QChar::Separator_Space;
}

// Every white-space and line-break character lies in the Basic Multilingual
// Plane, so the rules look at UTF-16 code units and copy everything else as it
// stands: a U+FEFF or a lone surrogate stays text.
template <typename Predicate> QString trimming(const QString &text, Predicate shouldTrim)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && shouldTrim(text[begin].unicode()))
        ++begin;
    while (end > begin && shouldTrim(text[end - 1].unicode()))
        --end;
    return text.mid(begin, end - begin);
}

bool isWhitespaceOrLineBreak(char32_t c)
{
    return isWhitespace(c) || isLineBreak(c);
}

} // namespace

QString trimmingWhitespace(const QString &text)
{
    return trimming(text, isWhitespace);
}

QString trimmingWhitespaceAndNewlines(const QString &text)
{
    return trimming(text, isWhitespaceOrLineBreak);
}

QString trimmingCharacter(const QString &text, QChar character)
{
    return trimming(text, [character](char32_t c) { return c == character.unicode(); });
}

QString removingWhitespace(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (!isWhitespaceOrLineBreak(c.unicode()))
            kept.append(c);
    return kept;
}

namespace {

bool isSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

bool isSurrogateAt(const QString &text, qsizetype index)
{
    return index < text.size() && isSurrogate(text[index].unicode());
}

int compareDecoded(const QString &a, const QString &b)
{
    const std::u32string left = a.toStdU32String();
    const std::u32string right = b.toStdU32String();
    return left.compare(right);
}

} // namespace

int compareScalars(const QString &a, const QString &b)
{
    // Away from surrogates a code unit is its own scalar, so the first
    // differing unit decides; only texts that differ at a surrogate are
    // decoded (which also settles how lone surrogates compare).
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype at = 0;
    while (at < common && a[at] == b[at])
        ++at;
    if (isSurrogateAt(a, at) || isSurrogateAt(b, at))
        return compareDecoded(a, b);
    if (at < common)
        return a[at].unicode() < b[at].unicode() ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareLocalizedStandard(const QString &a, const QString &b)
{
    static thread_local QCollator collator = [] {
        // The C locale has no collation rules; English ones stand in for it.
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C)
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        QCollator c(locale);
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b);
}

QString uuidText(const QUuid &uuid)
{
    // Written by hand: the library's form is lower case and upper-casing it
    // again costs more than the writing, on paths that name every record.
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    QString text(36, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto put = [&out](quint64 value, int count) {
        for (int shift = (count - 1) * 4; shift >= 0; shift -= 4)
            *out++ = digits[(value >> shift) & 0xF];
    };
    const uchar *tail = uuid.data4;
    put(uuid.data1, 8);
    *out++ = u'-';
    put(uuid.data2, 4);
    *out++ = u'-';
    put(uuid.data3, 4);
    *out++ = u'-';
    put(quint64(tail[0]) << 8 | tail[1], 4);
    *out++ = u'-';
    quint64 node = 0;
    for (int i = 2; i < 8; ++i)
        node = node << 8 | tail[i];
    put(node, 12);
    return text;
}

QByteArray jsonKeepingZeroWidthNoBreakSpaces(const QByteArray &json)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    QByteArray body = json.startsWith(mark) ? json.mid(mark.size()) : json;
    return body.replace(mark, "\\uFEFF");
}

namespace {

std::optional<char16_t> hexUnit(const QByteArray &data, qsizetype at)
{
    if (at + 4 > data.size())
        return std::nullopt;
    const char *first = data.constData() + at;
    uint unit = 0;
    const auto [end, error] = std::from_chars(first, first + 4, unit, 16);
    if (error != std::errc() || end != first + 4)
        return std::nullopt;
    return char16_t(unit);
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool startsLowSurrogateEscape(const QByteArray &data, qsizetype at)
{
    if (at + 1 >= data.size() || data[at] != '\\' || data[at + 1] != 'u')
        return false;
    const auto unit = hexUnit(data, at + 2);
    return unit && isLowSurrogate(*unit);
}

} // namespace

// Backslashes only occur inside strings in valid JSON, so a plain scan over
// escapes is enough.
QByteArray jsonReplacingLoneSurrogates(QByteArray json)
{
    qsizetype at = json.indexOf('\\');
    while (at >= 0 && at + 1 < json.size()) {
        qsizetype next = at + 2;
        if (json[at + 1] == 'u') {
            if (const auto unit = hexUnit(json, at + 2)) {
                next = at + 6;
                if (isHighSurrogate(*unit) && startsLowSurrogateEscape(json, next))
                    next += 6;
                else if (isHighSurrogate(*unit) || isLowSurrogate(*unit))
                    json.replace(at + 2, 4, "FFFD");
            }
        }
        at = json.indexOf('\\', next);
    }
    return json;
}

} // namespace Text
