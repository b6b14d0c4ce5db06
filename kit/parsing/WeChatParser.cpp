#include "WeChatParser.h"

#include "HostTable.h"
#include "Markup.h"
#include "OpenGraph.h"
#include "ParseError.h"

#include <QRegularExpression>
#include <QSet>

// The markers are searched for as plain text rather than with lazy patterns
// such as "<h1[^>]*>(.*?)</h1>": the first match is the same, and a page whose
// closing text never comes costs one pass instead of one per opening.
namespace {

// The text between the first `open` and the next `close` after it (both case-insensitive).
std::optional<QString> between(const QString &page, QStringView open, QStringView close)
{
    const qsizetype start = page.indexOf(open, 0, Qt::CaseInsensitive);
    if (start < 0)
        return std::nullopt;
    const qsizetype from = start + open.size();
    const qsizetype end = page.indexOf(close, from, Qt::CaseInsensitive);
    if (end < 0)
        return std::nullopt;
    return page.mid(from, end - from);
}

// The content of the first element whose opening tag begins with `tagStart`.
std::optional<QString> elementText(const QString &page, QStringView tagStart, QStringView close)
{
    const qsizetype start = page.indexOf(tagStart, 0, Qt::CaseInsensitive);
    if (start < 0)
        return std::nullopt;
    const qsizetype tagEnd = page.indexOf(u'>', start + tagStart.size());
    if (tagEnd < 0)
        return std::nullopt;
    const qsizetype end = page.indexOf(close, tagEnd + 1, Qt::CaseInsensitive);
    if (end < 0)
        return std::nullopt;
    return page.mid(tagEnd + 1, end - tagEnd - 1);
}

// "og:title" counts when present, even when empty.
QString title(const QString &page, const OpenGraph &tags)
{
    const QStringList ogTitles = tags.metaTags().value(QStringLiteral("og:title"));
    if (!ogTitles.isEmpty())
        return ogTitles.first();
    return Markup::strippingHTML(elementText(page, u"<h1", u"</h1>").value_or(QString()));
}

QString author(const QString &page)
{
    if (const auto nickname = between(page, u"var nickname = htmlDecode(\"", u"\")"))
        return Markup::htmlDecoded(*nickname);
    return Markup::strippingHTML(elementText(page, u"id=\"js_name\"", u"</a>").value_or(QString()));
}

std::optional<QDateTime> publishedAt(const QString &page)
{
    static const QRegularExpression time(QStringLiteral("var ct = \"(\\d+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = time.match(page);
    bool ok = false;
    const double seconds = match.hasMatch() ? match.captured(1).toDouble(&ok) : 0;
    return ok ? ParsedPost::dateFromSeconds(seconds) : std::nullopt;
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

QString content(QStringView slice, const OpenGraph &tags)
{
    const qsizetype tagEnd = slice.indexOf(u'>');
    const QString text = tagEnd < 0 ? QString() : Markup::strippingHTML(slice.mid(tagEnd + 1).toString());
    return text.isEmpty() ? tags[QStringLiteral("og:description")].value_or(QString()) : text;
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
    post.authorName = author(html);
    post.publishedAt = publishedAt(html);
    post.content = content(slice, tags);
    for (const QString &link : pictures(slice, tags))
        post.media.append(ParsedMedia(MediaKind::image, link));
    // Saving such a page over a stored article would wipe it.
    if (post.title.isEmpty() && post.content.isEmpty() && post.media.isEmpty())
        throw ParseError::structureChanged(QStringLiteral("article"));
    return post;
}
