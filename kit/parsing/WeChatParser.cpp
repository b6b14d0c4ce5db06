#include "WeChatParser.h"

#include "EpochTime.h"
#include "HostTable.h"
#include "Markup.h"
#include "OpenGraph.h"
#include "ParseError.h"
#include "Text.h"

#include <QRegularExpression>
#include <QSet>

namespace {

constexpr auto kPageOptions =
    QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption;

// A script string literal's text as the page means it.
QString scriptText(const QString &literal)
{
    return Text::trimmingWhitespaceAndNewlines(Markup::htmlDecoded(Markup::scriptEscapesDecoded(literal)));
}

// The body of a double-quoted script string assigned to `variable` and
// followed by `after`; escaped quotes stay inside it.
QRegularExpression scriptString(const QString &variable, const QString &after = {})
{
    return QRegularExpression(
        QStringLiteral("var %1 = \"([^\"\\\\]*+(?:\\\\.[^\"\\\\]*+)*+)\"%2").arg(variable, after),
        kPageOptions);
}

// Older article pages name the article only in one of these, in this order.
QString olderPageTitle(const QString &page)
{
    static const QRegularExpression heading(QStringLiteral("<h2[^>]*id=\"activity-name\"[^>]*>(.*?)</h2>"),
                                            kPageOptions);
    static const QRegularExpression documentTitle(QStringLiteral("<title[^>]*>(.*?)</title>"), kPageOptions);
    for (const QRegularExpression *pattern : {&heading, &documentTitle})
        if (const QString text =
                Markup::strippingHTML(Markup::firstCapture(*pattern, page).value_or(QString()));
            !text.isEmpty())
            return text;
    static const QRegularExpression variable = scriptString(QStringLiteral("msg_title"));
    return scriptText(Markup::firstCapture(variable, page).value_or(QString()));
}

// "og:title" counts when present, even when empty.
QString title(const QString &page, const OpenGraph &tags)
{
    const QStringList ogTitles = tags.metaTags().value(QStringLiteral("og:title"));
    if (!ogTitles.isEmpty())
        return ogTitles.first();
    static const QRegularExpression heading(QStringLiteral("<h1[^>]*>(.*?)</h1>"), kPageOptions);
    return Markup::strippingHTML(Markup::firstCapture(heading, page).value_or(QString()));
}

QString author(const QString &page)
{
    static const QRegularExpression variable(QStringLiteral("var nickname = htmlDecode\\(\"(.*?)\"\\)"),
                                             kPageOptions);
    static const QRegularExpression accountLink(QStringLiteral("id=\"js_name\"[^>]*>(.*?)</a>"),
                                                kPageOptions);
    if (const auto nickname = Markup::firstCapture(variable, page))
        return Markup::htmlDecoded(*nickname);
    return Markup::strippingHTML(Markup::firstCapture(accountLink, page).value_or(QString()));
}

// Older article pages assign the name as a plain string.
QString olderPageAuthor(const QString &page)
{
    static const QRegularExpression variable = scriptString(QStringLiteral("nickname"), QStringLiteral(";"));
    return scriptText(Markup::firstCapture(variable, page).value_or(QString()));
}

std::optional<QDateTime> publishedAt(const QString &page)
{
    static const QRegularExpression time(QStringLiteral("var ct = \"(\\d+)\""), kPageOptions);
    bool ok = false;
    const double seconds = Markup::firstCapture(time, page).value_or(QString()).toDouble(&ok);
    return ok ? EpochTime::fromSeconds(seconds) : std::nullopt;
}

// From the article body's marker to the first script after it; empty when either is missing.
QStringView bodySlice(const QString &page)
{
    const QString marker = QStringLiteral("id=\"js_content\"");
    const qsizetype start = page.indexOf(marker);
    if (start < 0)
        return {};
    const qsizetype from = start + marker.size();
    const qsizetype end = page.indexOf(QStringLiteral("<script"), from);
    if (end < 0)
        return {};
    return QStringView(page).mid(from, end - from);
}

// Pages often write the description as an escaped script string: "\x0d\x0a"
// for a line break, "\x26amp;" for "&". Such a text was HTML-escaped before it
// was escaped, and the tag's own entity decoding could not reach behind the escapes.
QString description(const OpenGraph &tags)
{
    const QString tagText = tags[QStringLiteral("og:description")].value_or(QString());
    const QString unescaped = Markup::scriptEscapesDecoded(tagText);
    if (unescaped == tagText)
        return tagText;
    return Markup::htmlDecoded(unescaped).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString content(QStringView slice, const OpenGraph &tags)
{
    const qsizetype tagEnd = slice.indexOf(u'>');
    const QString text = tagEnd < 0 ? QString() : Markup::strippingHTML(slice.mid(tagEnd + 1).toString());
    return text.isEmpty() ? description(tags) : text;
}

QStringList pictures(QStringView slice, const OpenGraph &tags)
{
    QStringList unique;
    QSet<QString> seen;
    const QString pattern = QStringLiteral("data-src=\"(https?://%1[^\"]*)\"")
                                .arg(QRegularExpression::escape(HostTable::host(Host::WeChatImages)));
    for (const QString &link : Markup::allMatches(slice.toString(), pattern, 1)) {
        const QString decoded = Markup::htmlDecoded(link);
        if (!seen.contains(decoded)) {
            seen.insert(decoded);
            unique.append(decoded);
        }
    }
    if (unique.isEmpty())
        if (const auto image = tags[QStringLiteral("og:image")])
            unique.append(*image);
    return unique;
}

QCoro::Task<ParsedPost> parseArticle(QUrl url, HTTPClient http)
{
    const HTTPClient::Page page = co_await http.html(url, {}, UserAgent::iPhone);
    co_return WeChatParser::post(page.text, page.url);
}

} // namespace

bool WeChatParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::wechat;
}

QCoro::Task<ParsedPost> WeChatParser::parse(QUrl url, HTTPClient http) const
{
    return parseArticle(std::move(url), std::move(http));
}

ParsedPost WeChatParser::post(const QString &html, const QUrl &pageURL)
{
    const OpenGraph tags(html);
    const QStringView slice = bodySlice(html);
    ParsedPost post(Platform::wechat, pageURL.toString(QUrl::FullyEncoded));
    post.title = title(html, tags);
    if (post.title.isEmpty())
        post.title = olderPageTitle(html);
    post.authorName = author(html);
    if (post.authorName.isEmpty())
        post.authorName = olderPageAuthor(html);
    post.publishedAt = publishedAt(html);
    post.content = content(slice, tags);
    for (const QString &link : pictures(slice, tags))
        post.media.append(ParsedMedia(MediaKind::image, link));
    // Saving such a page over a stored article would wipe it. A title alone
    // is no article: verification and removal notices have one.
    if (post.content.isEmpty() && post.media.isEmpty())
        throw ParseError::structureChanged(QStringLiteral("article"));
    return post;
}
