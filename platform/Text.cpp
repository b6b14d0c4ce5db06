#include "Text.h"

#include <QCollator>
#include <QLocale>
#include <QTextBoundaryFinder>
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

int compareScalars(const QString &a, const QString &b)
{
    const std::u32string left = a.toStdU32String();
    const std::u32string right = b.toStdU32String();
    return left.compare(right);
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
    return uuid.toString(QUuid::WithoutBraces).toUpper();
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
