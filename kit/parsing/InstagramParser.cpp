#include "InstagramParser.h"

#include "EpochTime.h"
#include "HostTable.h"
#include "InstagramEmbedMarkup.h"
#include "ParseError.h"

#include <QRegularExpression>

namespace {

const QString kContextMarker = QStringLiteral("\"contextJSON\":\"");

// Letters, digits, "-" and "_": nothing that could leave the path of the embed link.
bool isShortcode(const QString &code)
{
    static const QRegularExpression shape(QStringLiteral("^[A-Za-z0-9_-]{1,64}$"));
    return shape.match(code).hasMatch();
}

// The text up to the first unescaped double quote, or to the end of the page.
QStringView escapedString(QStringView text)
{
    bool escaped = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (escaped)
            escaped = false;
        else if (text[i] == u'\\')
            escaped = true;
        else if (text[i] == u'"')
            return text.first(i);
    }
    return text;
}

std::optional<JSON> readJSON(const QString &text)
{
    try {
        return JSON::fromString(text);
    } catch (const JSONError &) {
        return std::nullopt;
    }
}

// The embed page gives the stream of a video; without it a video node shows its cover.
ParsedMedia mediaOf(const JSON &node, const QString &display)
{
    const auto width = node["dimensions"]["width"].doubleValue();
    const auto height = node["dimensions"]["height"].doubleValue();
    const std::optional<QString> video = node["video_url"].string();
    if (node["is_video"].boolValue() == true && video && !video->isEmpty())
        return ParsedMedia(MediaKind::video, display, video, width, height,
                           node["video_duration"].doubleValue());
    return ParsedMedia(MediaKind::image, display, std::nullopt, width, height);
}

// The carousel's children, or the post itself when it has none.
QList<JSON> nodesOf(const JSON &media)
{
    QList<JSON> nodes;
    for (const JSON &edge : media["edge_sidecar_to_children"]["edges"].array())
        nodes.append(edge["node"]);
    if (nodes.isEmpty())
        nodes.append(media);
    return nodes;
}

QList<ParsedMedia> mediaList(const JSON &media)
{
    QList<ParsedMedia> items;
    for (const JSON &node : nodesOf(media)) {
        const QString display = node["display_url"].stringValue();
        if (!display.isEmpty())
            items.append(mediaOf(node, display));
    }
    return items;
}

QString canonicalLink(const QUrl &url, const QString &code)
{
    const bool reel = url.path(QUrl::FullyDecoded).contains(QLatin1String("/reel"));
    const QString path = reel ? QStringLiteral("/reel/%1/") : QStringLiteral("/p/%1/");
    return HostTable::url(Host::InstagramWeb, path.arg(code)).toString(QUrl::FullyEncoded);
}

QCoro::Task<ParsedPost> parseEmbed(QUrl url, HTTPClient http)
{
    const std::optional<QString> code = InstagramParser::shortcode(url);
    if (!code || !isShortcode(*code))
        throw ParseError::structureChanged(QStringLiteral("shortcode"));
    const HTTPClient::Page page = co_await http.html(
        HostTable::url(Host::InstagramWeb, QStringLiteral("/p/%1/embed/captioned/").arg(*code)), {},
        UserAgent::iPhone);
    const QString canonical = canonicalLink(url, *code);
    if (const std::optional<JSON> context = InstagramParser::contextJSON(page.text))
        co_return InstagramParser::post(*context, canonical);
    if (InstagramEmbedMarkup::hasNullContext(page.text))
        co_return InstagramEmbedMarkup::post(page.text, canonical);
    throw ParseError::structureChanged(QStringLiteral("embed contextJSON"));
}

} // namespace

std::optional<QString> InstagramParser::shortcode(const QUrl &url)
{
    static const QStringList markers = {QStringLiteral("p"), QStringLiteral("reel"), QStringLiteral("reels"),
                                        QStringLiteral("tv")};
    const QStringList parts = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i)
        if (markers.contains(parts[i]))
            return i + 1 < parts.size() ? std::optional<QString>(parts[i + 1]) : std::nullopt;
    return std::nullopt;
}

std::optional<JSON> InstagramParser::contextJSON(const QString &html)
{
    const qsizetype start = html.indexOf(kContextMarker);
    if (start < 0)
        return std::nullopt;
    const QStringView escaped = escapedString(QStringView(html).mid(start + kContextMarker.size()));
    QString quoted = QStringLiteral("\"");
    quoted += escaped;
    quoted += u'"';
    const std::optional<JSON> text = readJSON(quoted);
    if (!text || !text->raw().isString())
        return std::nullopt;
    return readJSON(text->stringValue());
}

ParsedPost InstagramParser::post(const JSON &context, const QString &canonicalURL)
{
    const JSON media = context["gql_data"]["shortcode_media"];
    if (!media.exists())
        throw ParseError::structureChanged(QStringLiteral("embed contextJSON"));

    ParsedPost post(Platform::instagram, canonicalURL);
    post.content = media["edge_media_to_caption"]["edges"][0]["node"]["text"].stringValue();
    post.authorName = media["owner"]["username"].stringValue();
    post.authorAvatar = media["owner"]["profile_pic_url"].stringValue();
    post.publishedAt = EpochTime::fromSeconds(media["taken_at_timestamp"].doubleValue());
    post.media = mediaList(media);
    if (post.media.isEmpty())
        throw ParseError::structureChanged(QStringLiteral("embed media"));
    if (post.media.size() == 1 && media["is_video"].boolValue() == true && !post.media[0].videoURL)
        throw ParseError::structureChanged(QStringLiteral("embed video"));
    return post;
}

bool InstagramParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::instagram && shortcode(url).has_value();
}

QCoro::Task<ParsedPost> InstagramParser::parse(QUrl url, HTTPClient http) const
{
    return parseEmbed(std::move(url), std::move(http));
}
