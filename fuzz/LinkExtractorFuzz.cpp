#include "FuzzCheck.h"
#include "LinkExtractor.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <functional>

namespace {

char32_t codePointAt(QStringView text, qsizetype at)
{
    if (at < 0 || at >= text.size())
        return 0;
    if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[at], text[at + 1]);
    return text[at].unicode();
}

// The character before `at`, or 0 at the start of the text.
char32_t codePointBefore(QStringView text, qsizetype at)
{
    if (at >= 2 && text[at - 1].isLowSurrogate() && text[at - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[at - 2], text[at - 1]);
    return codePointAt(text, at - 1);
}

qsizetype lengthOf(char32_t c)
{
    return QChar::requiresSurrogates(c) ? 2 : 1;
}

bool isAsciiAlphanumeric(char32_t c)
{
    return c < 0x80 && QChar::isLetterOrNumber(c);
}

bool isJoiner(char32_t c)
{
    return c == 0x200C || c == 0x200D;
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// The emoji presentation selector and the keycap mark make the character
// before them an emoji ("❤️", "1️⃣"), which ends a word as other emoji do.
bool isEmojiMark(char32_t c)
{
    return c == 0xFE0E || c == 0xFE0F || c == 0x20E3;
}

// Marks that go on with the letter before them.
bool isLetterMark(char32_t c)
{
    return isMark(c) && !isEmojiMark(c);
}

// Hosts are looked for in the text as IDNA maps it (case, full-width forms,
// letters that fold to two, "ᾋ" to "ἃι"); what IDNA refuses is compared as
// NFKC with case folding.
QString comparable(const QString &text)
{
    static QHash<QString, QString> mapped;
    if (const auto known = mapped.constFind(text); known != mapped.cend())
        return *known;
    const QByteArray ace = QUrl::toAce(text);
    QString form = ace.isEmpty() ? QString() : QUrl::fromAce(ace, QUrl::IgnoreIDNWhitelist);
    if (form.isEmpty() || form.startsWith(QLatin1String("xn--")))
        form = text.normalized(QString::NormalizationForm_KC)
                   .toCaseFolded()
                   .normalized(QString::NormalizationForm_KC);
    mapped.insert(text, form);
    return form;
}

// A pasted text, and the same in comparable form with the position in the
// pasted text that each of its characters comes from.
struct Pasted {
    QString text;
    QString comparable;
    QList<qsizetype> origin; // one entry more than `comparable` has characters
};

// Each character with the marks after it is made comparable on its own, so
// that its origin is known.
Pasted pasted(const QString &text)
{
    Pasted result{text, {}, {}};
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = at + lengthOf(codePointAt(text, at));
        while (end < text.size() && isMark(codePointAt(text, end)))
            end += lengthOf(codePointAt(text, end));
        const qsizetype before = result.comparable.size();
        if (end == at + 1 && text[at].unicode() < 0x80)
            result.comparable += text[at].toLower();
        else
            result.comparable += comparable(text.mid(at, end - at));
        result.origin.insert(result.origin.size(), result.comparable.size() - before, at);
        at = end;
    }
    result.origin.append(text.size());
    return result;
}

// The script of the letters of the label that begins at `at`, or ends there
// when `backwards`; Script_Common for one of digits only.
QChar::Script labelScript(QStringView text, qsizetype at, bool backwards)
{
    for (int read = 0; read < 64; ++read) {
        const char32_t c = backwards ? codePointBefore(text, at) : codePointAt(text, at);
        if (QChar::isLetter(c))
            return QChar::script(c);
        if (!QChar::isDigit(c) && !isLetterMark(c) && !isJoiner(c) && c != u'-' && c != u'_')
            break;
        at += backwards ? -lengthOf(c) : lengthOf(c);
    }
    return QChar::Script_Common;
}

// Whether the character at `at` belongs to a label written in `script` beside
// it: a host cut out of a word has one of these next to it. A label ends
// where a letter of another script or an emoji follows
// ("https://example.com看看").
bool continuesLabelAt(QStringView text, qsizetype at, QChar::Script script)
{
    const char32_t c = codePointAt(text, at);
    if (isEmojiMark(codePointAt(text, at + lengthOf(c))))
        return false;
    if (c == u'_' || QChar::isDigit(c) || isLetterMark(c) || isJoiner(c))
        return true;
    return QChar::isLetter(c) && (script == QChar::Script_Common || QChar::script(c) == script);
}

// Whether the label ending at `at` goes on into a further label, as in
// "2гис.рф" read as "2". Labels are at most 63 characters long.
bool labelGoesOnAt(QStringView text, qsizetype at)
{
    for (qsizetype end = at; end < text.size() && end < at + 64; end += lengthOf(codePointAt(text, end))) {
        const char32_t c = codePointAt(text, end);
        if (c == u'.')
            return end > at && QChar::isLetterOrNumber(codePointAt(text, end + 1));
        if (!QChar::isLetterOrNumber(c) && !isLetterMark(c) && !isJoiner(c) && c != u'-')
            return false;
    }
    return false;
}

// Whether the host written from `start` is the tail of a longer label or name.
bool isCutBefore(QStringView text, qsizetype start)
{
    const char32_t before = codePointBefore(text, start);
    if (before == u'.' || before == u'-')
        return true;
    // Digits glued after a word in another script begin a name ("访问360.cn").
    QChar::Script script = labelScript(text, start, false);
    if (script == QChar::Script_Common)
        script = QChar::Script_Latin;
    return start > 0 && continuesLabelAt(text, start - lengthOf(before), script);
}

// Whether the host written up to `end` is the head of a longer label or name;
// a hyphen after it is a dash unless its label goes on after the hyphen.
bool isCutAfter(QStringView text, qsizetype end)
{
    const QChar::Script script = labelScript(text, end, true);
    return continuesLabelAt(text, end, script) ||
           (codePointAt(text, end) == u'-' && continuesLabelAt(text, end + 1, script)) ||
           labelGoesOnAt(text, end);
}

// Where a host is written, as positions in the pasted text.
using Placement = std::function<bool(qsizetype start, qsizetype end)>;

bool isIPv4(const QString &host)
{
    static const QRegularExpression address(QStringLiteral("^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$"));
    return address.match(host).hasMatch();
}

// An IPv4 address may be written as any run of number characters that the
// URL parser reads as it ("http://2130706433", "http://0x7f.1").
bool writesAddress(const Pasted &text, const QUrl &link, const Placement &placed)
{
    static const QRegularExpression number(QStringLiteral("(?<![0-9a-fx.])[0-9a-fx]+(?:\\.[0-9a-fx]+)*"));
    for (auto matches = number.globalMatch(text.comparable); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        if (QUrl(QStringLiteral("http://") + match.captured()).host() == link.host() &&
            placed(text.origin[match.capturedStart()], text.origin[match.capturedEnd()]))
            return true;
    }
    return false;
}

// A host name's labels, each as a text may write it: in its own script or
// in its ASCII form ("xn--…").
struct Labels {
    QStringList written;
    QStringList ace;
};

Labels labelsOf(const QUrl &link)
{
    Labels labels;
    labels.ace = link.host(QUrl::FullyEncoded).split(u'.');
    for (const QString &ace : std::as_const(labels.ace))
        labels.written.append(comparable(QUrl::fromAce(ace.toLatin1(), QUrl::IgnoreIDNWhitelist)));
    return labels;
}

// Where the host name written from `at` ends, or -1 where none is.
qsizetype endOfNameAt(QStringView text, qsizetype at, const Labels &labels)
{
    qsizetype end = at;
    for (qsizetype label = 0; label < labels.ace.size(); ++label) {
        if (label > 0) {
            if (!text.mid(end).startsWith(u'.'))
                return -1;
            ++end;
        }
        const QStringView rest = text.mid(end);
        if (rest.startsWith(labels.written[label]))
            end += labels.written[label].size();
        else if (rest.startsWith(labels.ace[label]))
            end += labels.ace[label].size();
        else
            return -1;
    }
    return end;
}

// Whether the text writes the link's host somewhere that `placed` accepts.
bool writesHost(const Pasted &text, const QUrl &link, const Placement &placed)
{
    if (isIPv4(link.host()))
        return writesAddress(text, link, placed);
    const Labels labels = labelsOf(link);
    for (qsizetype at = 0; at < text.comparable.size(); ++at) {
        const qsizetype end = endOfNameAt(text.comparable, at, labels);
        if (end >= 0 && placed(text.origin[at], text.origin[end]))
            return true;
    }
    return false;
}

// The host found stands whole in the text: "https://2гис.рф" read as host
// "0.0.0.2", or "münchen.de" as "nchen.de", is cut out of a longer name.
bool writesWholeHost(const Pasted &text, const QUrl &link)
{
    return writesHost(text, link, [&](qsizetype start, qsizetype end) {
        return !isCutBefore(text.text, start) && !isCutAfter(text.text, end);
    });
}

bool readWithScheme(const Pasted &text, const QUrl &link)
{
    const qsizetype schemeAt =
        text.text.indexOf(link.scheme() + QStringLiteral("://"), 0, Qt::CaseInsensitive);
    return schemeAt >= 0 &&
           writesHost(text, link, [&](qsizetype start, qsizetype) { return start > schemeAt; });
}

// What a word, a path or a mail address goes on with: a link without a
// scheme never begins after one of these.
bool continuesWord(char32_t c)
{
    static const QString marks = QStringLiteral("-._@+%/~&=#?");
    return isAsciiAlphanumeric(c) || (c < 0x80 && marks.contains(QChar(c))) ||
           (c >= 0x80 && QChar::script(c) == QChar::Script_Latin) || isLetterMark(c) || isJoiner(c);
}

// A link read without a scheme begins at a word start: "münchen.de" is no
// link "http://nchen.de".
bool beginsAtWordStart(const Pasted &text, const QUrl &link)
{
    return readWithScheme(text, link) || writesHost(text, link, [&](qsizetype start, qsizetype) {
               return !continuesWord(codePointBefore(text.text, start));
           });
}

bool isWebLink(const QUrl &link)
{
    const QString scheme = link.scheme().toLower();
    return link.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !link.host().isEmpty();
}

// Pasted again, the link's text is taken whole and unchanged.
bool isFoundAgain(const QUrl &link)
{
    const QString written = link.toString(QUrl::FullyEncoded);
    const std::optional<QUrl> again = LinkExtractor::firstURL(written);
    return again && again->toString(QUrl::FullyEncoded) == written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = Fuzz::text(data, size);
    const std::optional<QUrl> link = LinkExtractor::firstURL(text);
    if (!link)
        return 0;
    Fuzz::require(isWebLink(*link), "a link found is a valid http or https link with a host");
    const Pasted written = pasted(text);
    Fuzz::require(writesWholeHost(written, *link), "a link's host stands whole in the text");
    Fuzz::require(beginsAtWordStart(written, *link), "a link without a scheme begins at a word start");
    Fuzz::require(isFoundAgain(*link), "a link found is found again");
    return 0;
}
