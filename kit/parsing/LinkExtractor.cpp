#include "LinkExtractor.h"

#include "HostTable.h"
#include "Platform.h"
#include "Text.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Country codes and the generic top-level domains seen in shared links. A bare
// "name.tld" is only a link when its ending is one of these, so file names
// ("photo.jpg") and abbreviations stay text.
QSet<QString> knownTopLevelDomains()
{
    static const char *const names =
        "ac ad ae af ag ai al am ao aq ar as at au aw ax az ba bb be bf bg bh bi bj bm bn bo br bs bt bv bw "
        "by bz ca cc cd cf cg ch ci cl cm cn co cr cu cv cw cx cy cz de dj dk dm do dz ec ee eg es et eu fi "
        "fj fm fo fr ga gb gd ge gf gg gh gi gl gm gn gp gq gr gs gt gu gw gy hk hm hn hr ht hu id ie il im "
        "in io iq ir is it je jo jp ke kg ki km kn kp kr kw ky kz la lb lc li lk lr ls lt lu lv ly ma mc md "
        "me mg mh mk ml mn mo mp mq mr ms mt mu mv mw mx my mz na nc ne nf ng ni nl no nr nu nz om pa pe pf "
        "ph pk pl pm pn pr ps pt pw py qa re ro rs ru rw sa sb sc sd se sg sh si sj sk sl sm sn so sr ss st "
        "su sv sx sy sz tc td tf tg th tj tk tl tm tn to tr tt tv tw tz ua ug uk us uy uz va vc ve vg vi vn "
        "vu wf ws ye yt zm zw "
        "com net org edu gov mil int info biz name pro mobi asia app dev xyz top site online club shop store "
        "vip tech link live blog news art wiki cloud fun icu ltd group work world today space website life "
        "page video music media design studio games social email";
    const QStringList list = QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts);
    return QSet<QString>(list.cbegin(), list.cend());
}

bool isAsciiAlphanumeric(QChar c)
{
    return c.isLetterOrNumber() && c.unicode() < 0x80;
}

// Characters a URL may hold unescaped; anything else ends a link. Looked up
// in a table, as every character of a text is asked about.
bool isLinkCharacter(QChar c)
{
    static constexpr auto table = [] {
        std::array<bool, 0x80> table{};
        for (const char mark : std::string_view("-._~:/?#[]@!$&'()*+,;=%"))
            table[mark] = true;
        for (char letter = 'a'; letter <= 'z'; ++letter)
            table[letter] = table[letter - 'a' + 'A'] = true;
        for (char digit = '0'; digit <= '9'; ++digit)
            table[digit] = true;
        return table;
    }();
    return c.unicode() < 0x80 && table[c.unicode()];
}

// Letters, digits and combining marks beyond ASCII: what a path, query or
// fragment typed in another script is made of. Variation selectors are left
// out: they turn the symbol before them into an emoji.
bool isNonAsciiWordCharacter(char32_t c)
{
    if (c < 0x80 || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF))
        return false;
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining: return true;
    default: return false;
    }
}

// The platforms' own apps write their words straight after their links
// ("https://v.douyin.com/Ab3dEf/打开抖音"), so on their hosts a link ends at
// the first non-ASCII character.
bool isPlatformLink(const QUrl &url)
{
    const QString host = url.host();
    const QString weiboShort = HostTable::host(Host::WeiboShort);
    return Platform::detect(url) != Platform::web || host == weiboShort ||
           host.endsWith(QLatin1Char('.') + weiboShort);
}

// After one of these a word is part of a larger token (a path, a mail
// address, a file name), so only an explicit "scheme://" may start there.
bool continuesToken(QChar c)
{
    static const QString marks = QStringLiteral("-._@+%/~&=#?");
    return isAsciiAlphanumeric(c) || marks.contains(c);
}

// Where the path, query or fragment begins after a host.
bool isPathStart(QChar c)
{
    return c == u'/' || c == u'?' || c == u'#';
}

bool isWebScheme(const QString &scheme)
{
    return scheme.compare(u"http", Qt::CaseInsensitive) == 0 ||
           scheme.compare(u"https", Qt::CaseInsensitive) == 0;
}

std::optional<QUrl> webURL(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    if (url.isValid() && isWebScheme(url.scheme()) && !url.host().isEmpty())
        return url;
    return std::nullopt;
}

// Drops punctuation that closes the sentence around a link rather than the
// link itself; brackets stay when the link opened them.
QStringView trimmingTrailingPunctuation(QStringView link)
{
    static const QString closing = QStringLiteral(".,;:!?'");
    qsizetype openParentheses = link.count(u'('), closeParentheses = link.count(u')');
    qsizetype openBrackets = link.count(u'['), closeBrackets = link.count(u']');
    while (!link.isEmpty()) {
        const QChar last = link.back();
        if (last == u')' && openParentheses < closeParentheses)
            --closeParentheses;
        else if (last == u']' && openBrackets < closeBrackets)
            --closeBrackets;
        else if (!closing.contains(last))
            break;
        link.chop(1);
    }
    return link;
}

constexpr qsizetype schemeLimit = 32;
constexpr qsizetype mailLimit = 64 + 1 + 255;
constexpr qsizetype hostLimit = 253;
constexpr qsizetype portLimit = 6;

// One step of the scan: the link found at a position, or how far to skip.
struct Step {
    std::optional<QUrl> url;
    qsizetype consumed = 1;
};

// Scans each run of link characters from left to right, reading a link, a
// mail address or a plain word at each word start.
class Detector {
public:
    explicit Detector(const QString &text) : m_text(text) {}

    // The text when it is one web link as links are read here, trailing
    // punctuation and all, as a pasted bare link is taken.
    std::optional<QUrl> wholeLink() const
    {
        const QStringView run = QStringView(m_text).left(endOfRun(0));
        if (run.isEmpty())
            return std::nullopt;
        const QRegularExpressionMatch match = matchStart(schemePattern(), run, schemeLimit);
        if (!match.hasCaptured(2) || schemeLinkAt(0, match.capturedLength()).size() != m_text.size())
            return std::nullopt;
        return webURL(m_text);
    }

    std::optional<QUrl> firstWebLink() const
    {
        for (qsizetype runStart = 0; runStart < m_text.size();) {
            const qsizetype runEnd = endOfRun(runStart);
            if (const auto url = firstWebLinkInRun(runStart, runEnd))
                return url;
            runStart = qMax(runEnd, runStart + 1);
        }
        return std::nullopt;
    }

private:
    qsizetype endOfRun(qsizetype from) const
    {
        qsizetype end = from;
        while (end < m_text.size() && isLinkCharacterAt(end))
            ++end;
        return end;
    }

    std::optional<QUrl> firstWebLinkInRun(qsizetype runStart, qsizetype runEnd) const
    {
        for (qsizetype at = runStart; at < runEnd;) {
            if (!isWordStart(at)) {
                ++at;
                continue;
            }
            const Step step = readAt(at, QStringView(m_text).mid(at, runEnd - at));
            if (step.url)
                return step.url;
            at += qMax<qsizetype>(1, step.consumed);
        }
        return std::nullopt;
    }

    bool isWordStart(qsizetype at) const
    {
        return isAsciiAlphanumeric(m_text[at]) && (at == 0 || !isAsciiAlphanumeric(m_text[at - 1]));
    }

    // Each pattern looks at a bounded prefix only (schemes are short, mail
    // addresses and host names have length limits), which keeps the scan
    // linear however long a run of link characters is. Runs are plain ASCII,
    // so the UTF-16 check of the subject can be skipped.
    static QRegularExpressionMatch matchStart(const QRegularExpression &expression, QStringView rest,
                                              qsizetype limit)
    {
        return expression.match(rest.left(limit), 0, QRegularExpression::NormalMatch,
                                QRegularExpression::AnchorAtOffsetMatchOption |
                                    QRegularExpression::DontCheckSubjectStringMatchOption);
    }

    static const QRegularExpression &schemePattern()
    {
        static const QRegularExpression scheme(QStringLiteral("([A-Za-z][A-Za-z0-9+.\\-]*):(//)?"));
        return scheme;
    }

    // `rest` runs from `at` to the end of its run of link characters.
    Step readAt(qsizetype at, QStringView rest) const
    {
        static const QRegularExpression mailAddress(QStringLiteral("[A-Za-z0-9._%+\\-]+@[A-Za-z0-9.\\-]+"));
        static const QRegularExpression wordPart(QStringLiteral("[A-Za-z0-9._\\-]+"));

        const QRegularExpressionMatch schemeMatch = matchStart(schemePattern(), rest, schemeLimit);
        if (schemeMatch.hasMatch() && (schemeMatch.hasCaptured(2) || isWebScheme(schemeMatch.captured(1))))
            return readSchemeLink(at, rest, schemeMatch);
        const Step word{std::nullopt, matchStart(wordPart, rest, rest.size()).capturedLength()};
        if (at > 0 && continuesToken(m_text[at - 1]))
            return word;
        if (const auto mail = matchStart(mailAddress, rest, mailLimit); mail.hasMatch())
            return {std::nullopt, mail.capturedLength()};
        const Step host = readBareHost(at, rest);
        return host.url ? host : word;
    }

    // "scheme://..." is one link: a web link, or one of another scheme that is
    // skipped whole, as is a malformed web link without slashes ("http:path").
    Step readSchemeLink(qsizetype at, QStringView rest, const QRegularExpressionMatch &match) const
    {
        if (!match.hasCaptured(2) || !isWebScheme(match.captured(1)))
            return {std::nullopt, rest.size()};
        const QStringView link = schemeLinkAt(at, match.capturedLength());
        return {webURL(trimmingTrailingPunctuation(link).toString()), rest.size()};
    }

    // The web link from `at`, whose host begins `hostStart` characters on,
    // before trailing punctuation is dropped.
    QStringView schemeLinkAt(qsizetype at, qsizetype hostStart) const
    {
        const qsizetype hostEnd = endOfHost(at + hostStart);
        const QStringView link = QStringView(m_text).mid(at, hostEnd - at);
        if (hostEnd == m_text.size() || !isPathStart(m_text[hostEnd]))
            return link;
        return throughNonAsciiPath(at, QStringView(m_text).mid(at, endOfRun(hostEnd) - at), {});
    }

    // A host is written in any script ("https://例子.测试", "https://münchen.de"):
    // it runs through ASCII link characters up to its path, and through
    // letters, digits and marks beyond ASCII where one of its labels begins
    // with them or goes on with them in the script its ASCII letters are
    // written in. Words written straight after an ASCII label
    // ("https://example.com看看") are in another script and stay out.
    qsizetype endOfHost(qsizetype hostStart) const
    {
        qsizetype end = hostStart;
        while (end < m_text.size()) {
            if (isLinkCharacterAt(end) ? isPathStart(m_text[end]) : !continuesHostAt(hostStart, end))
                break;
            end += codePointLength(end);
        }
        return end;
    }

    bool continuesHostAt(qsizetype hostStart, qsizetype at) const
    {
        if (!isNonAsciiWordAt(at))
            return false;
        const QChar before = at > hostStart ? m_text[at - 1] : QChar(u'.');
        if (before == u'.' || before == u'@' || before.unicode() >= 0x80)
            return true;
        if (!isAsciiAlphanumeric(before) && before != u'-')
            return false;
        const QChar::Script script = QChar::script(codePointAt(at));
        return script == QChar::Script_Latin || script == QChar::Script_Inherited;
    }

    Step readBareHost(qsizetype at, QStringView rest) const
    {
        static const QRegularExpression host(
            QStringLiteral("((?:[A-Za-z0-9](?:[A-Za-z0-9\\-]*[A-Za-z0-9])?\\.)+([A-Za-z]{2,63}))(?::[0-9]{1,"
                           "5})?(?![A-Za-z0-9_@\\-])"));
        static const QSet<QString> topLevelDomains = knownTopLevelDomains();
        const QRegularExpressionMatch match = matchStart(host, rest, hostLimit + portLimit);
        if (!match.hasMatch() || match.capturedLength(1) > hostLimit)
            return {};
        const bool www = rest.left(4).compare(u"www.", Qt::CaseInsensitive) == 0;
        if (!www && !topLevelDomains.contains(match.captured(2).toLower()))
            return {};
        const qsizetype hostEnd = match.capturedLength();
        const bool hasPath = hostEnd < rest.size() && isPathStart(rest[hostEnd]);
        const QString scheme = QStringLiteral("http://");
        const QStringView link =
            trimmingTrailingPunctuation(hasPath ? throughNonAsciiPath(at, rest, scheme) : rest.left(hostEnd));
        return {webURL(scheme + link.toString()), link.size()};
    }

    // Chat programs copy a link with its path, query and fragment as typed
    // ("https://zh.wikipedia.org/wiki/北京"): past its host, a link that is not a
    // platform's runs on through letters and digits of any script. `link` runs
    // from `at` to the end of the ASCII link characters after its host's path
    // start, and `scheme` makes a bare host a link.
    QStringView throughNonAsciiPath(qsizetype at, QStringView link, const QString &scheme) const
    {
        const qsizetype linkEnd = at + link.size();
        if (linkEnd >= m_text.size() || !isNonAsciiWordAt(linkEnd))
            return link;
        const auto url = webURL(scheme + link.toString());
        if (!url || isPlatformLink(*url))
            return link;
        qsizetype end = linkEnd;
        while (end < m_text.size() && (isLinkCharacterAt(end) || isNonAsciiWordAt(end)))
            end += codePointLength(end);
        return QStringView(m_text).mid(at, end - at);
    }

    qsizetype codePointLength(qsizetype at) const
    {
        return m_text[at].isHighSurrogate() && at + 1 < m_text.size() && m_text[at + 1].isLowSurrogate() ? 2
                                                                                                         : 1;
    }

    char32_t codePointAt(qsizetype at) const
    {
        return codePointLength(at) == 2 ? QChar::surrogateToUcs4(m_text[at], m_text[at + 1])
                                        : char32_t(m_text[at].unicode());
    }

    bool isNonAsciiWordAt(qsizetype at) const
    {
        return isNonAsciiWordCharacter(codePointAt(at)) && !isEmojiAt(at);
    }

    // Of ASCII, only the keycaps' digits, "#" and "*" begin an emoji.
    bool isLinkCharacterAt(qsizetype at) const
    {
        const QChar c = m_text[at];
        if (!isLinkCharacter(c))
            return false;
        return !(c.isDigit() || c == u'#' || c == u'*') || !isEmojiAt(at);
    }

    // A character before an emoji variation selector or the keycap mark is an
    // emoji ("1️⃣", "ℹ️"), which ends a link as other emoji do.
    bool isEmojiAt(qsizetype at) const
    {
        const qsizetype next = at + codePointLength(at);
        return next < m_text.size() && (m_text[next] == QChar(0xFE0F) || m_text[next] == QChar(0x20E3));
    }

    const QString &m_text;
};

} // namespace

std::optional<QUrl> LinkExtractor::firstURL(const QString &in)
{
    const QString text = Text::trimmingWhitespaceAndNewlines(in);
    const Detector detector(text);
    // A pasted bare link is taken whole, without looking for links in it.
    if (const auto whole = detector.wholeLink())
        return whole;
    return detector.firstWebLink();
}
