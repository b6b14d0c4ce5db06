#include "LinkExtractor.h"

#include "HTTPClient.h"
#include "HostTable.h"
#include "LinkText.h"
#include "Platform.h"
#include "Text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

namespace {

constexpr qsizetype schemeLimit = 32;
constexpr qsizetype hostLimit = 253;
constexpr qsizetype labelLimit = 63;
constexpr qsizetype portDigitsLimit = 5;

// Country codes and the generic top-level domains seen in shared links. A bare
// "name.tld" is only a link when its ending is one of these, so file names
// ("photo.jpg") and abbreviations stay text.
constexpr std::string_view knownTopLevelDomains =
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

bool isKnownTopLevelDomain(QStringView label)
{
    static const std::unordered_set<std::string_view> known = [] {
        std::unordered_set<std::string_view> set;
        for (std::size_t start = 0; start < knownTopLevelDomains.size();) {
            const std::size_t end =
                std::min(knownTopLevelDomains.find(' ', start), knownTopLevelDomains.size());
            set.insert(knownTopLevelDomains.substr(start, end - start));
            start = end + 1;
        }
        return set;
    }();
    std::string lower;
    for (const QChar c : label)
        lower += char(c.toLower().unicode());
    return known.contains(lower);
}

bool isAsciiLetters(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); });
}

// A host label written without a scheme: ASCII letters, digits and inner hyphens.
bool isAsciiHostLabel(QStringView label)
{
    return !label.isEmpty() && label.size() <= labelLimit && !label.startsWith(u'-') && !label.endsWith(u'-');
}

// A bare "name.tld" is a link when its ending is a known top-level domain,
// or any letters after "www.".
bool isTopLevelDomain(QStringView label, QStringView labelsBefore)
{
    return label.size() >= 2 && isAsciiLetters(label) &&
           (labelsBefore.startsWith(u"www.", Qt::CaseInsensitive) || isKnownTopLevelDomain(label));
}

bool isWebScheme(QStringView scheme)
{
    return scheme.compare(u"http", Qt::CaseInsensitive) == 0 ||
           scheme.compare(u"https", Qt::CaseInsensitive) == 0;
}

bool isSchemeCharacter(QChar c)
{
    return (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == u'+' || c == u'.' || c == u'-';
}

// The platforms' own apps write their words straight after their links
// ("https://v.douyin.com/Ab3dEf/打开抖音"), so on their hosts a link ends at
// the first non-ASCII character.
bool isPlatformHost(QStringView name)
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(name.toString());
    const QString host = url.host();
    const QString weiboShort = HostTable::host(Host::WeiboShort);
    return Platform::detect(url) != Platform::web || host == weiboShort ||
           host.endsWith(QLatin1Char('.') + weiboShort);
}

bool isPort(QStringView digits)
{
    return digits.size() <= portDigitsLimit && digits.toInt() <= 65535;
}

// QUrl reads a name of digits and dots as an IPv4 address ("2" is 0.0.0.2,
// "1.2.3" is 1.2.0.3, superscript "2³" is 23): only a dotted quad is that
// address as written.
bool isNameOrDottedQuad(QStringView name)
{
    if (!std::all_of(name.begin(), name.end(), [](QChar c) { return c == u'.' || (c >= u'0' && c <= u'9'); }))
        return true;
    const QList<QStringView> parts = name.split(u'.');
    return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](QStringView part) {
               return !part.isEmpty() && part.size() <= 3 && part.toInt() <= 255;
           });
}

// Qt's toAce encodes labels that IDNA forbids (a leading hyphen, a mark
// first, mixed directions) and only fromAce refuses them: each label written
// in another script must decode back from its ASCII form.
bool decodesBack(const QByteArray &ace, QStringView written)
{
    const bool ascii =
        std::all_of(written.begin(), written.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return true;
    const QStringList decoded = QUrl::fromAce(ace, QUrl::IgnoreIDNWhitelist).split(u'.');
    const QList<QStringView> labels = written.split(u'.');
    if (decoded.size() != labels.size())
        return false;
    for (qsizetype label = 0; label < labels.size(); ++label) {
        if (decoded[label].startsWith(u"xn--", Qt::CaseInsensitive) &&
            !labels[label].startsWith(u"xn--", Qt::CaseInsensitive))
            return false;
    }
    return true;
}

// A host name that IDNA accepts, of at most 253 characters in its ASCII form
// (a name in another script is longer there). An address in brackets is
// left to QUrl, but for a zone ("[fe80::1%25eth0]"), which browsers refuse.
bool isValidHostName(QStringView name)
{
    if (name.startsWith(u'['))
        return !name.contains(u'%');
    // The name as written is asked first, as it is cheap to ask.
    if (name.isEmpty() || name.size() > hostLimit || !isNameOrDottedQuad(name))
        return false;
    const QByteArray ace = QUrl::toAce(name.toString());
    return !ace.isEmpty() && ace.size() <= hostLimit + (ace.endsWith('.') ? 1 : 0) &&
           isNameOrDottedQuad(QString::fromLatin1(ace)) && decodesBack(ace, name);
}

// The host QUrl parsed is the one written, not an address read from a number
// ("2" is 0.0.0.2) nor a name decoded from percent escapes.
bool isHostAsWritten(const QUrl &url, QStringView written)
{
    if (written.startsWith(u'[') && written.endsWith(u']'))
        return url.host().compare(written.mid(1, written.size() - 2), Qt::CaseInsensitive) == 0;
    const QByteArray ace = QUrl::toAce(written.toString());
    return !ace.isEmpty() && url.host(QUrl::FullyEncoded) == QLatin1String(ace);
}

std::optional<QUrl> webURL(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    if (url.isValid() && HTTPClient::isWebScheme(url) && !url.host().isEmpty())
        return url;
    return std::nullopt;
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool startsEscape(QStringView link, qsizetype at)
{
    return at + 2 < link.size() && isHexDigit(link[at + 1]) && isHexDigit(link[at + 2]);
}

// Shop texts write "100%正品": a "%" that starts no escape is a percent sign.
QString escapingLonePercentSigns(QStringView link)
{
    QString escaped;
    escaped.reserve(link.size());
    qsizetype copied = 0;
    for (qsizetype at = link.indexOf(u'%'); at >= 0; at = link.indexOf(u'%', at + 1)) {
        if (startsEscape(link, at))
            continue;
        escaped += link.mid(copied, at + 1 - copied);
        escaped += QLatin1String("25");
        copied = at + 1;
    }
    escaped += link.mid(copied);
    return escaped;
}

// Drops punctuation that closes the sentence around a link rather than the
// link itself, and a "%" left over from the words after it; brackets stay
// when the link opened them.
QStringView trimmingTrailingPunctuation(QStringView link)
{
    static const QString closing = QStringLiteral(".,;:!?'%");
    static const QString closers = QStringLiteral(")]");
    if (link.isEmpty() || (!closing.contains(link.back()) && !closers.contains(link.back())))
        return link;
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

// Where a link's host name is written, and where its port ends.
struct HostSpan {
    qsizetype nameStart = 0;
    qsizetype nameEnd = 0;
    qsizetype end = 0;
};

// A link read from the text: `prefix` ("http://" before a host written
// without a scheme) and the text from `start` to `end`.
struct Reading {
    QLatin1String prefix;
    qsizetype start = 0;
    HostSpan host;
    qsizetype end = 0;
};

// The link found, and how far the text was read for it.
struct Step {
    std::optional<QUrl> url;
    qsizetype end = 0;
};

// Reads a text from left to right, each part of it a bounded number of
// times: at each word start a link with a scheme, or a host without one.
class LinkScanner {
public:
    explicit LinkScanner(const QString &text) : m_text(text) {}

    std::optional<QUrl> firstWebLink() const
    {
        for (qsizetype at = 0; at < m_text.size();) {
            if (!isWordStart(at)) {
                at += m_text.lengthAt(at);
                continue;
            }
            const Step step = readWordAt(at);
            if (step.url)
                return step.url;
            at = std::max(step.end, at + 1);
        }
        return std::nullopt;
    }

private:
    bool isWordStart(qsizetype at) const
    {
        return m_text.isAsciiAlphanumericAt(at) && (at == 0 || !m_text.isAsciiAlphanumericAt(at - 1));
    }

    bool isPathStartAt(qsizetype at) const { return m_text.isOneOf(at, u"/?#"); }

    qsizetype endOfWord(qsizetype from) const
    {
        qsizetype end = from;
        while (m_text.isAsciiAlphanumericAt(end) || m_text.isOneOf(end, u"._+-"))
            ++end;
        return end;
    }

    qsizetype endOfAsciiRun(qsizetype from) const
    {
        qsizetype end = from;
        while (m_text.isAsciiLinkAt(end))
            ++end;
        return end;
    }

    Step readWordAt(qsizetype at) const
    {
        const qsizetype wordEnd = endOfWord(at);
        if (m_text.is(wordEnd, u':')) {
            const QStringView scheme = schemeEndingAt(at, wordEnd);
            const bool slashes = m_text.is(wordEnd + 1, u'/') && m_text.is(wordEnd + 2, u'/');
            if (slashes && isWebScheme(scheme))
                return readSchemeLink(wordEnd - scheme.size(), wordEnd + 3);
            // Another scheme's link, or a web link without slashes
            // ("http:path"), is passed over whole.
            if (!scheme.isEmpty() && (slashes || isWebScheme(scheme)))
                return {std::nullopt, endOfAsciiRun(wordEnd)};
        }
        if (!isBareHostStart(at))
            return {std::nullopt, wordEnd};
        const Step host = readBareHost(at);
        return {host.url, std::max(host.end, wordEnd)};
    }

    // A scheme begins with a letter: in "1.https://" it is "https".
    QStringView schemeEndingAt(qsizetype wordStart, qsizetype colon) const
    {
        qsizetype start = colon;
        while (start > wordStart && isSchemeCharacter(m_text.charAt(start - 1)))
            --start;
        while (start < colon && !m_text.charAt(start).isLetter())
            ++start;
        return colon - start <= schemeLimit ? m_text.mid(start, colon) : QStringView();
    }

    Step readSchemeLink(qsizetype start, qsizetype authorityStart) const
    {
        const qsizetype nameStart = afterUserInfo(authorityStart);
        const auto [host, readEnd] = readHost(nameStart);
        if (!host)
            return {std::nullopt, readEnd};
        return readLink({QLatin1String(), start, *host, 0}, readEnd);
    }

    // A user name and password end at the authority's last "@"; they are ASCII.
    qsizetype afterUserInfo(qsizetype authorityStart) const
    {
        qsizetype nameStart = authorityStart;
        for (qsizetype at = authorityStart; m_text.isAsciiLinkAt(at) && !isPathStartAt(at); ++at) {
            if (m_text.is(at, u'@'))
                nameStart = at + 1;
        }
        return nameStart;
    }

    bool isLabelCharacterAt(qsizetype at) const
    {
        return m_text.isAsciiAlphanumericAt(at) || m_text.isOneOf(at, u"-_") || m_text.isNameWordAt(at);
    }

    // A host name runs label by label through letters, digits, marks and
    // hyphens of any script. `lastLabelStart` is where its last label begins,
    // or -1 where the name ends in a dot before its path.
    struct HostName {
        qsizetype end = 0;
        qsizetype lastLabelStart = -1;
    };

    HostName readHostName(qsizetype from) const
    {
        if (m_text.is(from, u'['))
            return {endOfBracketedAddress(from), -1};
        HostName name{from, -1};
        for (qsizetype at = from;;) {
            const qsizetype labelStart = at;
            at = endOfLabel(at);
            if (at == labelStart) {
                // A dot with no label after it ends the name, but for one
                // written before the path ("https://example.com./").
                if (at > from && isPathStartAt(at))
                    name = {at, -1};
                return name;
            }
            name = {at, labelStart};
            if (!m_text.is(at, u'.'))
                return name;
            ++at;
        }
    }

    qsizetype endOfBracketedAddress(qsizetype from) const
    {
        qsizetype at = from + 1;
        while (m_text.isAsciiLinkAt(at) && !m_text.is(at, u']') && !isPathStartAt(at))
            ++at;
        return m_text.is(at, u']') ? at + 1 : from;
    }

    struct HostReading {
        std::optional<HostSpan> span;
        qsizetype readEnd = 0;
    };

    // Words glued after a host stay out of it ("https://example.com看看"); a
    // name that IDNA refuses is no host.
    HostReading readHost(qsizetype nameStart) const
    {
        const HostName name = readHostName(nameStart);
        const HostReading refused{std::nullopt, std::max(name.end, nameStart + 1)};
        const std::optional<qsizetype> nameEnd = validNameEnd(nameStart, name);
        if (!nameEnd || m_text.isAttachedAt(name.end))
            return refused;
        qsizetype end = *nameEnd;
        if (end == name.end && m_text.is(end, u':')) {
            end = endOfDigits(end + 1);
            if (!isPort(m_text.mid(*nameEnd + 1, end)))
                return {std::nullopt, end};
        }
        return {HostSpan{nameStart, *nameEnd, end}, std::max(name.end, end)};
    }

    std::optional<qsizetype> validNameEnd(qsizetype nameStart, const HostName &name) const
    {
        const qsizetype nameEnd = name.lastLabelStart < 0
                                      ? name.end
                                      : endOfLastLabel(name.lastLabelStart, name.end, nameStart + hostLimit);
        return isValidHostName(m_text.mid(nameStart, nameEnd)) ? std::optional(nameEnd) : std::nullopt;
    }

    // The last label ends where letters of another script are glued to it
    // (labels do not mix scripts, but for digits, marks and hyphens), and a
    // hyphen after it is a dash ("https://example.com- 好"). No valid name
    // ends past `limit`, so a longer label is read no further than that.
    qsizetype endOfLastLabel(qsizetype labelStart, qsizetype labelEnd, qsizetype limit) const
    {
        QChar::Script labelScript = QChar::Script_Common;
        qsizetype end = labelStart;
        for (qsizetype at = labelStart; at < labelEnd; at += m_text.lengthAt(at)) {
            if (at > limit)
                return labelEnd;
            const QChar::Script script = m_text.scriptAt(at);
            if (script != QChar::Script_Common) {
                if (labelScript != QChar::Script_Common && script != labelScript)
                    return end;
                labelScript = script;
            }
            if (!m_text.is(at, u'-'))
                end = at + m_text.lengthAt(at);
        }
        return end;
    }

    qsizetype endOfDigits(qsizetype from) const
    {
        qsizetype end = from;
        while (m_text.charAt(end) >= u'0' && m_text.charAt(end) <= u'9')
            ++end;
        return end;
    }

    // A host without a scheme begins where a word begins: never inside a
    // path, a mail address or a word that began in Latin letters ("münchen.de").
    bool isBareHostStart(qsizetype at) const
    {
        return at == 0 || (!m_text.isOneOf(at - 1, u"-._@+%/~&=#?") && !m_text.continuesLatinWordBefore(at));
    }

    // Hosts without a scheme are ASCII and taken whole or not at all: not
    // the head of a word that goes on in Latin letters, of a mail address or
    // of a name with "_".
    Step readBareHost(qsizetype start) const
    {
        const auto [nameEnd, stop] = readAsciiLabels(start);
        if (nameEnd < 0 || nameEnd - start > hostLimit || m_text.continuesLatinWordAt(stop) ||
            m_text.isAttachedAt(stop) || m_text.isOneOf(stop, u"_@"))
            return {std::nullopt, stop};
        // Words glued after the name are no part of it, unless a dot and
        // more labels follow them ("example.com例.cn" is one name).
        if (const qsizetype labelEnd = endOfLabel(stop);
            labelEnd > stop && m_text.is(labelEnd, u'.') && isLabelCharacterAt(labelEnd + 1))
            return {std::nullopt, labelEnd};
        HostSpan host{start, nameEnd, nameEnd};
        if (nameEnd == stop && m_text.is(stop, u':'))
            host.end = endOfBarePort(stop);
        return readLink({QLatin1String("http://"), start, host, 0}, stop);
    }

    // `nameEnd` follows the longest run of labels that ends in a top-level
    // domain (any letters after "www."), or is -1; `stop` is where the
    // labels end.
    struct AsciiLabels {
        qsizetype nameEnd = -1;
        qsizetype stop = 0;
    };

    AsciiLabels readAsciiLabels(qsizetype start) const
    {
        AsciiLabels labels;
        qsizetype at = start;
        for (int count = 1;; ++count) {
            const qsizetype labelStart = at;
            while (m_text.isAsciiAlphanumericAt(at) || m_text.is(at, u'-'))
                ++at;
            const QStringView label = m_text.mid(labelStart, at);
            if (!isAsciiHostLabel(label))
                break;
            if (count >= 2 && isTopLevelDomain(label, m_text.mid(start, labelStart)))
                labels.nameEnd = at;
            if (!m_text.is(at, u'.') || !m_text.isAsciiAlphanumericAt(at + 1))
                break;
            ++at;
        }
        labels.stop = at;
        return labels;
    }

    qsizetype endOfLabel(qsizetype from) const
    {
        qsizetype end = from;
        while (isLabelCharacterAt(end))
            end += m_text.lengthAt(end);
        return end;
    }

    qsizetype endOfBarePort(qsizetype colon) const
    {
        const qsizetype end = endOfDigits(colon + 1);
        const bool port =
            end > colon + 1 && isPort(m_text.mid(colon + 1, end)) && !m_text.isAsciiAlphanumericAt(end);
        return port ? end : colon;
    }

    // Past its host a link runs through ASCII link characters and, unless it
    // is a platform's, through letters and digits of any script
    // ("https://zh.wikipedia.org/wiki/北京"), as chat programs copy it.
    qsizetype endOfPath(qsizetype from, const HostSpan &host) const
    {
        std::optional<bool> platform;
        qsizetype at = from;
        while (at < m_text.size()) {
            if (m_text.isAsciiLinkAt(at)) {
                ++at;
                continue;
            }
            if (!m_text.isPathWordAt(at))
                break;
            if (!platform)
                platform = isPlatformHost(m_text.mid(host.nameStart, host.nameEnd));
            if (*platform)
                break;
            at += m_text.lengthAt(at);
        }
        return at;
    }

    // A text that is one link is taken whole, trailing punctuation and all,
    // as a pasted bare link is.
    Step readLink(Reading reading, qsizetype readEnd) const
    {
        reading.end =
            isPathStartAt(reading.host.end) ? endOfPath(reading.host.end, reading.host) : reading.host.end;
        readEnd = std::max(readEnd, reading.end);
        const bool wholeText = reading.start == 0 && reading.prefix.isEmpty() && reading.end == m_text.size();
        if (wholeText) {
            if (auto url = urlOf(reading, m_text.mid(0, reading.end)))
                return {url, readEnd};
        }
        return {urlOf(reading, trimmingTrailingPunctuation(m_text.mid(reading.start, reading.end))), readEnd};
    }

    std::optional<QUrl> urlOf(const Reading &reading, QStringView link) const
    {
        const std::optional<QUrl> url = webURL(reading.prefix + escapingLonePercentSigns(link));
        const qsizetype nameEnd = std::min(reading.host.nameEnd, reading.start + link.size());
        if (!url || !isHostAsWritten(*url, m_text.mid(reading.host.nameStart, nameEnd)))
            return std::nullopt;
        return url;
    }

    LinkText m_text;
};

} // namespace

std::optional<QUrl> LinkExtractor::firstURL(const QString &in)
{
    const QString text = Text::trimmingWhitespaceAndNewlines(in);
    return LinkScanner(text).firstWebLink();
}
