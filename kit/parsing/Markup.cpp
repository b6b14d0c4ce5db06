#include "Markup.h"

#include "Text.h"

#include <QRegularExpression>
#include <charconv>
#include <utility>

namespace {

// Unicode-aware \s, \w and \d, as in the page patterns' original dialect.
constexpr auto unicode = QRegularExpression::UseUnicodePropertiesOption;

const std::pair<QLatin1StringView, QLatin1StringView> namedEntities[] = {
    {QLatin1StringView("&lt;"), QLatin1StringView("<")},
    {QLatin1StringView("&gt;"), QLatin1StringView(">")},
    {QLatin1StringView("&quot;"), QLatin1StringView("\"")},
    {QLatin1StringView("&#39;"), QLatin1StringView("'")},
    {QLatin1StringView("&#x27;"), QLatin1StringView("'")},
    {QLatin1StringView("&apos;"), QLatin1StringView("'")},
    {QLatin1StringView("&nbsp;"), QLatin1StringView(" ")},
    {QLatin1StringView("&#x2F;"), QLatin1StringView("/")},
    // Last, so that "&amp;lt;" is decoded only once.
    {QLatin1StringView("&amp;"), QLatin1StringView("&")},
};

std::optional<char32_t> unsignedNumber(QStringView digits, int base)
{
    const QByteArray bytes = digits.toLatin1();
    quint32 number = 0;
    const auto [end, error] = std::from_chars(bytes.cbegin(), bytes.cend(), number, base);
    if (bytes.isEmpty() || error != std::errc() || end != bytes.cend())
        return std::nullopt;
    return char32_t(number);
}

bool isScalarValue(char32_t code)
{
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The body of "&#body;": "x" or "X" and hexadecimal digits, or decimal digits.
std::optional<char32_t> referencedCharacter(const QString &body)
{
    const bool hexadecimal = body.startsWith(u'x', Qt::CaseInsensitive);
    const auto code = hexadecimal ? unsignedNumber(QStringView(body).mid(1), 16) : unsignedNumber(body, 10);
    return code && isScalarValue(*code) ? code : std::nullopt;
}

// One pass over the text: a page written entirely in numeric references (many
// are, for their Chinese text) costs no more than its length, and a reference
// that a decoded "&" happens to form stays text, as in a browser.
QString decodingNumericReferences(const QString &text)
{
    static const QRegularExpression reference(QStringLiteral("&#(x?[0-9a-f]+);"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString decoded;
    qsizetype copied = 0;
    for (auto matches = reference.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        const auto character = referencedCharacter(match.captured(1));
        if (!character)
            continue;
        decoded += QStringView(text).mid(copied, match.capturedStart() - copied);
        decoded += QStringView(QChar::fromUcs4(*character));
        copied = match.capturedEnd();
    }
    decoded += QStringView(text).mid(copied);
    return decoded;
}

// The character a "\xHH" escape at `at` stands for, when one stands there.
std::optional<QChar> hexEscape(QStringView text, qsizetype at)
{
    if (at + 4 > text.size() || text[at + 1] != u'x')
        return std::nullopt;
    const auto code = unsignedNumber(text.mid(at + 2, 2), 16);
    return code ? std::optional<QChar>(QChar(char16_t(*code))) : std::nullopt;
}

QString replacingUndefined(QString script)
{
    return script.replace(QStringLiteral(":undefined"), QStringLiteral(":null"))
        .replace(QStringLiteral("[undefined"), QStringLiteral("[null"))
        .replace(QStringLiteral(",undefined"), QStringLiteral(",null"));
}

} // namespace

namespace Markup {

QStringList allMatches(const QString &text, const QString &pattern, int group)
{
    const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption |
                                                     QRegularExpression::DotMatchesEverythingOption |
                                                     unicode);
    QStringList found;
    if (!expression.isValid() || group < 0 || group > expression.captureCount())
        return found;
    for (auto matches = expression.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        if (match.hasCaptured(group))
            found.append(match.captured(group));
    }
    return found;
}

std::optional<QString> firstCapture(const QRegularExpression &pattern, const QString &text, int group)
{
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? std::optional<QString>(match.captured(group)) : std::nullopt;
}

QString htmlDecoded(const QString &text)
{
    QString decoded = text;
    for (const auto &[entity, character] : namedEntities)
        decoded.replace(entity, character);
    return decodingNumericReferences(decoded);
}

QString scriptEscapesDecoded(const QString &text)
{
    QString decoded;
    decoded.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            decoded += text[i];
        } else if (text[i + 1] == u'\\' || text[i + 1] == u'"' || text[i + 1] == u'\'') {
            decoded += text[i + 1];
            ++i;
        } else if (const auto character = hexEscape(text, i)) {
            decoded += *character;
            i += 3;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<QString> widestSrcsetCandidate(const QString &srcset)
{
    static const QRegularExpression candidate(QStringLiteral("([^,\\s]\\S*)\\s+(\\d+)w\\s*(?:,|$)"), unicode);
    std::optional<QString> widest;
    qulonglong widestWidth = 0;
    for (auto matches = candidate.globalMatch(srcset); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        bool ok = false;
        const qulonglong width = match.captured(2).toULongLong(&ok);
        if (ok && (!widest || width > widestWidth)) {
            widest = match.captured(1);
            widestWidth = width;
        }
    }
    return widest;
}

QString strippingHTML(const QString &text)
{
    static const QRegularExpression lineBreakTag(QStringLiteral("<br\\s*/?>"), unicode);
    static const QRegularExpression blockEnd(QStringLiteral("</p>|</section>|</h[1-6]>|</li>"));
    static const QRegularExpression anyTag(QStringLiteral("<[^>]+>"));
    static const QRegularExpression spaceRun(QStringLiteral("[ \\t]+"));
    static const QRegularExpression blankLines(QStringLiteral("\\n\\s*\\n+"), unicode);

    QString plain = text;
    plain.replace(lineBreakTag, QStringLiteral("\n")).replace(blockEnd, QStringLiteral("\n"));
    plain.remove(anyTag);
    plain = htmlDecoded(plain);
    plain.replace(spaceRun, QStringLiteral(" ")).replace(blankLines, QStringLiteral("\n\n"));
    return Text::trimmingWhitespaceAndNewlines(plain);
}

std::optional<JSON> scriptState(const QString &html, const QString &marker)
{
    const qsizetype markerAt = html.indexOf(marker);
    if (markerAt < 0)
        return std::nullopt;
    const qsizetype start = markerAt + marker.size();
    const qsizetype end = html.indexOf(QStringLiteral("</script>"), start);
    if (end < 0)
        return std::nullopt;
    QString script = Text::trimmingWhitespaceAndNewlines(html.mid(start, end - start));
    if (script.startsWith(u'='))
        script.remove(0, 1);
    if (script.endsWith(u';'))
        script.chop(1);
    try {
        return JSON::fromString(replacingUndefined(script));
    } catch (const JSONError &) {
        return std::nullopt;
    }
}

} // namespace Markup
