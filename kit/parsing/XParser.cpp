#include "XParser.h"

#include "EpochTime.h"
#include "HostTable.h"
#include "ParseError.h"

#include <algorithm>

namespace {

const QString kUserAgent = QStringLiteral("Kepsel/1.0");
// Status ids are 64-bit numbers: at most 19 decimal digits.
constexpr qsizetype kMaxStatusIDLength = 19;

struct Status {
    QString user;
    QString id;
};

bool isStatusID(const QString &part)
{
    return !part.isEmpty() && part.size() <= kMaxStatusIDLength &&
           std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// "/user/status/id/...", or "/status/id" for the user "i".
Status status(const QUrl &url)
{
    const QStringList parts = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
    const qsizetype at = parts.indexOf(QStringLiteral("status"));
    if (at < 0 || at + 1 >= parts.size() || !isStatusID(parts[at + 1]))
        throw ParseError::structureChanged(QStringLiteral("status id"));
    return {at > 0 ? parts[at - 1] : QStringLiteral("i"), parts[at + 1]};
}

// The user comes from the link or the reply as text: set as a decoded path so
// that "?", "#" or "%" in it stay inside the path.
QUrl statusLink(Host role, const QString &user, const QString &id)
{
    QUrl link = HostTable::url(role);
    link.setPath(QLatin1Char('/') + user + QStringLiteral("/status/") + id, QUrl::DecodedMode);
    if (!link.isValid())
        throw ParseError::structureChanged(QStringLiteral("status id"));
    return link;
}

std::optional<ParsedMedia> mediaItem(const JSON &item)
{
    const QString type = item["type"].stringValue();
    const auto width = item["width"].doubleValue();
    const auto height = item["height"].doubleValue();
    if (type == QLatin1String("photo")) {
        const QString link = item["url"].stringValue();
        if (link.isEmpty())
            return std::nullopt;
        return ParsedMedia(MediaKind::image, link, std::nullopt, width, height);
    }
    if (type == QLatin1String("video") || type == QLatin1String("gif")) {
        const QString stream = item["url"].stringValue();
        return ParsedMedia(MediaKind::video, item["thumbnail_url"].stringValue(),
                           stream.isEmpty() ? std::nullopt : std::optional<QString>(stream), width, height,
                           item["duration"].doubleValue());
    }
    return std::nullopt;
}

// "all" lists every item; some answers carry only the "photos" and "videos" lists.
QList<JSON> mediaItems(const JSON &media)
{
    if (media["all"].exists())
        return media["all"].array();
    return media["photos"].array() + media["videos"].array();
}

QCoro::Task<ParsedPost> parseStatus(QUrl url, HTTPClient http)
{
    const Status link = status(url);
    const HTTPClient::Response response =
        co_await http.get(statusLink(Host::XMirrorAPI, link.user, link.id), {}, kUserAgent);
    co_return XParser::post(JSON::fromData(response.body), link.user, link.id);
}

} // namespace

bool XParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::x && url.path().contains(QLatin1String("/status/"));
}

QCoro::Task<ParsedPost> XParser::parse(QUrl url, HTTPClient http) const
{
    return parseStatus(std::move(url), std::move(http));
}

ParsedPost XParser::post(const JSON &reply, const QString &user, const QString &statusID)
{
    const JSON tweet = reply["tweet"];
    if (!tweet.exists())
        throw ParseError::structureChanged(QStringLiteral("fxtwitter"));
    const QString screenName = tweet["author"]["screen_name"].string().value_or(user);

    ParsedPost post(Platform::x, statusLink(Host::XMain, screenName, statusID).toString(QUrl::FullyEncoded));
    post.content = tweet["text"].stringValue();
    post.authorName = tweet["author"]["name"].stringValue();
    post.authorAvatar = tweet["author"]["avatar_url"].stringValue();
    post.publishedAt = EpochTime::fromSeconds(tweet["created_timestamp"].doubleValue());
    for (const JSON &item : mediaItems(tweet["media"]))
        if (auto media = mediaItem(item))
            post.media.append(std::move(*media));
    return post;
}
