#include "Text.h"

#include <QCollator>
#include <QLocale>
#include <QTextBoundaryFinder>

namespace Text {

QString canonical(const QString &text)
{
    return text.normalized(QString::NormalizationForm_C);
}

bool canonicallyEqual(const QString &a, const QString &b)
{
    return a == b || canonical(a) == canonical(b);
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
    return c == 0x0A || c == 0x0B || c == 0x0C || c == 0x0D || c == 0x85 || c == 0x2028
           || c == 0x2029;
}

// Space separators and the tab, without line breaks.
bool isWhitespace(char32_t c)
{
    return c == 0x09 || QChar::category(c) == QChar::Separator_Space;
}

template<typename Predicate>
QString trimming(const QString &text, Predicate shouldTrim)
{
    const std::u32string scalars = text.toStdU32String();
    size_t begin = 0;
    size_t end = scalars.size();
    while (begin < end && shouldTrim(scalars[begin]))
        ++begin;
    while (end > begin && shouldTrim(scalars[end - 1]))
        --end;
    return QString::fromStdU32String(scalars.substr(begin, end - begin));
}

} // namespace

QString trimmingWhitespace(const QString &text)
{
    return trimming(text, isWhitespace);
}

QString trimmingWhitespaceAndNewlines(const QString &text)
{
    return trimming(text, [](char32_t c) { return isWhitespace(c) || isLineBreak(c); });
}

QString removingWhitespace(const QString &text)
{
    std::u32string kept;
    for (char32_t c : text.toStdU32String())
        if (!isWhitespace(c) && !isLineBreak(c))
            kept.push_back(c);
    return QString::fromStdU32String(kept);
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

} // namespace Text
