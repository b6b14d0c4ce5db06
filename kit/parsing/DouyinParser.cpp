#include "DouyinParser.h"

#include "CookieVault.h"
#include "EpochTime.h"
#include "HostTable.h"
#include "Markup.h"
#include "ParseError.h"

namespace {

struct PostID {
    QString id;
    // Notes and slides share the note pages; everything else is a video.
    QString kind;
};

PostID postID(const QUrl &resolved)
{
    const QString link = resolved.toString(QUrl::FullyEncoded);
    QString id = Markup::allMatches(link, QStringLiteral("/(?:video|note|slides)/(\\d+)"), 1).value(0);
    if (id.isEmpty())
        id = Markup::allMatches(link, QStringLiteral("modal_id=(\\d+)"), 1).value(0);
    if (id.isEmpty())
        throw ParseError::structureChanged(QStringLiteral("aweme id"));
    const bool note = link.contains(QLatin1String("/note/")) || link.contains(QLatin1String("/slides/"));
    return {id, note ? QStringLiteral("note") : QStringLiteral("video")};
}

JSON firstItem(const JSON &state)
{
    for (const JSON &loader : state["loaderData"].dictionary())
        if (const JSON item = loader["videoInfoRes"]["item_list"][0]; item.exists())
            return item;
    throw ParseError::structureChanged(QStringLiteral("item_list"));
}

// A JPEG or PNG where the list offers one, since WebP is the least portable.
std::optional<ParsedMedia> imageItem(const JSON &element)
{
    QStringList candidates;
    for (const JSON &entry : element["url_list"].array())
        if (const std::optional<QString> link = entry.string())
            candidates.append(*link);
    if (candidates.isEmpty())
        return std::nullopt;
    auto link = std::find_if(candidates.cbegin(), candidates.cend(),
                             [](const QString &c) { return !c.contains(QLatin1String(".webp")); });
    return ParsedMedia(MediaKind::image, link != candidates.cend() ? *link : candidates.first(), std::nullopt,
                       element["width"].doubleValue(), element["height"].doubleValue());
}

// The play address without "wm" is the one without the watermark.
ParsedMedia videoItem(const JSON &video)
{
    const QString play = video["play_addr"]["url_list"][0].stringValue().replace(QLatin1String("playwm"),
                                                                                 QLatin1String("play"));
    std::optional<double> duration = video["duration"].doubleValue();
    if (duration)
        *duration /= 1000;
    return ParsedMedia(MediaKind::video, video["cover"]["url_list"][0].stringValue(),
                       play.isEmpty() ? std::nullopt : std::optional(play), video["width"].doubleValue(),
                       video["height"].doubleValue(), duration);
}

QList<ParsedMedia> media(const JSON &item)
{
    const QList<JSON> images = item["images"].array();
    if (images.isEmpty())
        return {videoItem(item["video"])};
    QList<ParsedMedia> items;
    for (const JSON &element : images)
        if (std::optional<ParsedMedia> image = imageItem(element))
            items.append(*image);
    return items;
}

QCoro::Task<ParsedPost> parsePost(QUrl url, HTTPClient http)
{
    const QUrl resolved = co_await http.resolve(url, UserAgent::iPhone);
    const PostID post = postID(resolved);

    HTTPClient::Headers headers;
    if (const std::optional<QString> cookie = CookieVault::header(Platform::douyin))
        headers.insert(QStringLiteral("Cookie"), *cookie);
    const QUrl sharePage =
        HostTable::url(Host::DouyinSharePage, QStringLiteral("/share/%1/%2/").arg(post.kind, post.id));
    const HTTPClient::Page page = co_await http.html(sharePage, headers, UserAgent::iPhone);
    const std::optional<JSON> state = Markup::scriptState(page.text, QStringLiteral("window._ROUTER_DATA"));
    if (!state)
        throw ParseError::structureChanged(QStringLiteral("_ROUTER_DATA"));
    const JSON item = firstItem(*state);

    ParsedPost parsed(
        Platform::douyin,
        HostTable::url(Host::DouyinWeb, QStringLiteral("/%1/%2").arg(post.kind, post.id)).toString());
    parsed.content = item["desc"].stringValue();
    parsed.authorName = item["author"]["nickname"].stringValue();
    parsed.authorAvatar = item["author"]["avatar_thumb"]["url_list"][0].stringValue();
    parsed.publishedAt = EpochTime::fromSeconds(item["create_time"].doubleValue());
    parsed.media = media(item);
    co_return parsed;
}

} // namespace

bool DouyinParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::douyin;
}

QCoro::Task<ParsedPost> DouyinParser::parse(QUrl url, HTTPClient http) const
{
    return parsePost(std::move(url), std::move(http));
}
