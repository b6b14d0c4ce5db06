#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Picks the web link out of whatever a user pastes: a bare link, or a share
// text copied from a phone app with the link among words, hashtags and emoji.
class LinkExtractor {
public:
    // The first http or https link, or none. A text that is one whole web link
    // is taken as it is. Otherwise links are found as a link detector finds
    // them: "www." and bare-domain links come back with "http://"; mail
    // addresses and other schemes are skipped.
    //
    // A link ends at white space, full-width and other non-ASCII punctuation,
    // emoji and symbols, and before trailing punctuation such as ".,;:!?'" or
    // an unbalanced ")" or "]". The host of a link with a scheme is read label
    // by label in any script ("https://интернет-магазин.рф", "https://例子.测试"),
    // but its last label ends where letters of another script are glued to it
    // ("https://example.com看看"). Past its host a link runs on through letters
    // and digits of any script ("https://zh.wikipedia.org/wiki/北京"), except on
    // a platform's hosts, where it ends at the first non-ASCII character, as
    // share texts write their words straight after the link. A host written
    // without a scheme is ASCII and begins and ends where a word does
    // ("münchen.de" holds no link). A "%" that starts no escape is a percent
    // sign ("%25"), or dropped at the link's end.
    //
    // The link keeps its text: toString() gives it back as found, except that
    // QUrl lower-cases scheme and host, upper-cases percent escapes and shows
    // escaped non-ASCII and spaces decoded (toString(QUrl::FullyEncoded) keeps
    // those escaped and writes a host in another script in its ASCII form,
    // "xn--…"). The time taken grows linearly with the text.
    static std::optional<QUrl> firstURL(const QString &in);
};
