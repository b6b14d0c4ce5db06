#include "XiaohongshuParser.h"

#include "CookieVault.h"
#include "EpochTime.h"
#include "Markup.h"
#include "ParseError.h"
#include "Text.h"

#include <QRegularExpression>
#include <QUrlQuery>

namespace {

const QString kStateMarker = QStringLiteral("window.__INITIAL_STATE__");

QString lastPathSegment(const QUrl &url)
{
    const QStringList segments = url.path().split(u'/', Qt::SkipEmptyParts);
    return segments.isEmpty() ? QString() : segments.last();
}

bool isSignInWall(const QUrl &url)
{
    return url.path().contains(QLatin1String("/login"));
}

// Where the sign-in wall would send the reader back to. The stored cookie goes
// with that request, so only a Xiaohongshu link is followed; anything else
// falls back to the link the user gave.
QUrl signInTarget(const QUrl &wall, const QUrl &given)
{
    const QUrlQuery query(wall);
    if (!query.hasQueryItem(QStringLiteral("redirectPath")))
        return given;
    const QUrl target(query.queryItemValue(QStringLiteral("redirectPath"), QUrl::FullyDecoded),
                      QUrl::StrictMode);
    const bool ownHost = target.isValid() && HTTPClient::isWebScheme(target) &&
                         Platform::detect(target) == Platform::xiaohongshu;
    return ownHost ? target : given;
}

std::optional<QString> firstText(std::initializer_list<JSON> values)
{
    for (const JSON &value : values)
        if (const std::optional<QString> text = value.string(); text && !text->isEmpty())
            return text;
    return std::nullopt;
}

std::optional<ParsedMedia> imageItem(const JSON &element)
{
    const std::optional<QString> link =
        firstText({element["urlDefault"], element["url"], element["infoList"][0]["url"]});
    if (!link)
        return std::nullopt;
    const std::optional<QString> stream = element["stream"]["h264"][0]["masterUrl"].string();
    const bool live = element["livePhoto"].raw() == QJsonValue(true) && stream;
    return ParsedMedia(live ? MediaKind::livePhoto : MediaKind::image, *link, stream,
                       element["width"].doubleValue(), element["height"].doubleValue());
}

QList<ParsedMedia> imageItems(const JSON &imageList)
{
    QList<ParsedMedia> items;
    for (const JSON &element : imageList.array())
        if (std::optional<ParsedMedia> item = imageItem(element))
            items.append(*item);
    return items;
}

// The video first, with the first image as its cover; the images follow only
// when there are several, so a lone cover is not shown twice.
QList<ParsedMedia> videoItems(const JSON &note, const QList<ParsedMedia> &images)
{
    const JSON stream = note["video"]["media"]["stream"];
    std::optional<QString> video = stream["h264"][0]["masterUrl"].string();
    if (!video)
        video = stream["h265"][0]["masterUrl"].string();
    const JSON firstImage = note["imageList"][0];
    QList<ParsedMedia> items{ParsedMedia(MediaKind::video, images.isEmpty() ? QString() : images.first().url,
                                         video, firstImage["width"].doubleValue(),
                                         firstImage["height"].doubleValue(),
                                         note["video"]["capa"]["duration"].doubleValue())};
    if (images.size() >= 2)
        items += images;
    return items;
}

QString authorName(const JSON &user)
{
    return user["nickname"].string().value_or(user["nickName"].stringValue());
}

bool isAcceptable(const JSON &note)
{
    return note.exists() && (note["noteId"].exists() || note["imageList"].exists());
}

QCoro::Task<ParsedPost> parseNote(QUrl url, HTTPClient http)
{
    const std::optional<QString> cookie = CookieVault::header(Platform::xiaohongshu);
    HTTPClient::Headers headers;
    if (cookie)
        headers.insert(QStringLiteral("Cookie"), *cookie);

    const HTTPClient::Page desktop = co_await http.html(url, headers, UserAgent::desktop);
    if (desktop.url.path().startsWith(QLatin1String("/404")))
        throw ParseError::loginRequired(Platform::xiaohongshu);
    QUrl pageURL = desktop.url;
    JSON note;
    if (!isSignInWall(desktop.url))
        note = XiaohongshuParser::desktopNote(desktop.text, desktop.url).value_or(JSON());

    if (!note.exists()) {
        const QUrl target = isSignInWall(desktop.url) ? signInTarget(desktop.url, url) : desktop.url;
        const HTTPClient::Page mobile = co_await http.html(target, headers, UserAgent::iPhone);
        if (const std::optional<JSON> state = Markup::scriptState(mobile.text, kStateMarker)) {
            note = (*state)["noteData"]["data"]["noteData"];
            pageURL = mobile.url;
        }
    }
    if (!isAcceptable(note))
        throw cookie ? ParseError::structureChanged(QStringLiteral("noteDetailMap"))
                     : ParseError::loginRequired(Platform::xiaohongshu);
    co_return XiaohongshuParser::post(note, pageURL);
}

} // namespace

bool XiaohongshuParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::xiaohongshu;
}

QCoro::Task<ParsedPost> XiaohongshuParser::parse(QUrl url, HTTPClient http) const
{
    return parseNote(std::move(url), std::move(http));
}

QString XiaohongshuParser::cleanTopics(const QString &text)
{
    static const QRegularExpression topicMark(QStringLiteral("\\[话题\\]#"));
    static const QRegularExpression code(QStringLiteral("\\[[^\\]]{1,6}R\\]"));
    QString cleaned = text;
    cleaned.replace(topicMark, QStringLiteral(" ")).remove(code);
    return Text::trimmingWhitespaceAndNewlines(cleaned);
}

std::optional<JSON> XiaohongshuParser::desktopNote(const QString &html, const QUrl &pageURL)
{
    const std::optional<JSON> state = Markup::scriptState(html, kStateMarker);
    if (!state)
        return std::nullopt;
    const JSON map = (*state)["note"]["noteDetailMap"];
    if (const JSON note = map[lastPathSegment(pageURL)]["note"]; note.exists())
        return note;
    for (const JSON &entry : map.dictionary())
        if (entry["note"]["noteId"].exists())
            return entry["note"];
    return std::nullopt;
}

ParsedPost XiaohongshuParser::post(const JSON &note, const QUrl &pageURL)
{
    ParsedPost post(Platform::xiaohongshu, pageURL.toString(QUrl::FullyEncoded));
    post.title = note["title"].stringValue();
    post.content = cleanTopics(note["desc"].stringValue());
    post.authorName = authorName(note["user"]);
    post.authorAvatar = note["user"]["avatar"].stringValue();
    if (const std::optional<double> millis = note["time"].doubleValue())
        post.publishedAt = EpochTime::fromSeconds(*millis / 1000);
    const QList<ParsedMedia> images = imageItems(note["imageList"]);
    post.media =
        note["type"].raw() == QJsonValue(QStringLiteral("video")) ? videoItems(note, images) : images;
    return post;
}
