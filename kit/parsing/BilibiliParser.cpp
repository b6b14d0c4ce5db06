#include "BilibiliParser.h"

#include "EpochTime.h"
#include "HostTable.h"
#include "Markup.h"
#include "ParseError.h"

#include <QUrlQuery>
#include <cmath>

namespace {

HTTPClient::Headers refererHeaders()
{
    return {{QStringLiteral("Referer"), HostTable::origin(Host::BilibiliWeb) + QLatin1Char('/')}};
}

// "bvid=BV…" or "aid=…" for the view API, from the id in the link.
QString viewQuery(const QUrl &link)
{
    const QString text = link.toString(QUrl::FullyEncoded);
    const QStringList bvid = Markup::allMatches(text, QStringLiteral("(BV[0-9A-Za-z]{10})"), 1);
    if (!bvid.isEmpty())
        return QStringLiteral("bvid=") + bvid.first();
    const QStringList aid = Markup::allMatches(text, QStringLiteral("/av([0-9]+)"), 1);
    if (!aid.isEmpty())
        return QStringLiteral("aid=") + aid.first();
    throw ParseError::notSupported();
}

// A number without a fraction that fits 64 bits; numeric texts count.
std::optional<qint64> wholeNumber(const JSON &value)
{
    const std::optional<double> number = value.doubleValue();
    if (!number || std::trunc(*number) != *number)
        return std::nullopt;
    return value.intValue();
}

// The "p" query item, 1 when there is none or it is not a whole number.
qint64 pageNumber(const QUrl &link)
{
    bool ok = false;
    const qint64 page = QUrlQuery(link).queryItemValue(QStringLiteral("p")).toLongLong(&ok);
    return ok ? page : 1;
}

std::optional<qint64> contentID(const JSON &data, qint64 page)
{
    if (page >= 1 && page <= data["pages"].array().size())
        if (const auto cid = wholeNumber(data["pages"][page - 1]["cid"]))
            return cid;
    return wholeNumber(data["cid"]);
}

QCoro::Task<std::optional<BilibiliParser::MP4>> mp4Quietly(qint64 aid, qint64 cid, HTTPClient http)
{
    try {
        co_return co_await BilibiliParser::mp4(aid, cid, http);
    } catch (...) {
        // Without the stream the post keeps its cover.
    }
    co_return std::nullopt;
}

QCoro::Task<BilibiliParser::View> fetchView(QUrl link, HTTPClient http)
{
    const HTTPClient::Response response = co_await http.get(
        HostTable::url(Host::BilibiliAPI, QStringLiteral("/x/web-interface/view?") + viewQuery(link)),
        refererHeaders(), UserAgent::desktop);
    co_return BilibiliParser::view(JSON::fromData(response.body), link);
}

// The video with the cover as its picture, else the cover alone when it has a link.
QList<ParsedMedia> mediaOf(const BilibiliParser::View &view, const std::optional<BilibiliParser::MP4> &video)
{
    const ParsedMedia &cover = view.cover;
    if (video)
        return {ParsedMedia(MediaKind::video, cover.url, video->url, cover.width, cover.height,
                            video->duration ? video->duration : view.duration)};
    if (cover.url.isEmpty())
        return {};
    return {cover};
}

QCoro::Task<ParsedPost> parseVideo(QUrl url, HTTPClient http)
{
    if (url.host().contains(HostTable::host(Host::BilibiliShort)))
        url = co_await http.resolve(url, UserAgent::desktop);
    BilibiliParser::View view = co_await fetchView(url, http);
    std::optional<BilibiliParser::MP4> video;
    if (view.aid && view.cid)
        video = co_await mp4Quietly(*view.aid, *view.cid, http);
    view.post.media = mediaOf(view, video);
    co_return view.post;
}

QCoro::Task<std::optional<BilibiliParser::MP4>> fetchMP4(qint64 aid, qint64 cid, HTTPClient http)
{
    const QString query = QStringLiteral("/x/player/playurl?avid=%1&cid=%2&qn=64").arg(aid).arg(cid);
    const HTTPClient::Response response =
        co_await http.get(HostTable::url(Host::BilibiliAPI, query), refererHeaders(), UserAgent::desktop);
    const JSON reply = JSON::fromData(response.body);
    if (wholeNumber(reply["code"]) != 0)
        co_return std::nullopt;
    const JSON file = reply["data"]["durl"][0];
    const QString link = file["url"].stringValue();
    if (link.isEmpty())
        co_return std::nullopt;
    const std::optional<double> length = file["length"].doubleValue();
    co_return BilibiliParser::MP4{link, length ? std::optional<double>(*length / 1000) : std::nullopt};
}

} // namespace

bool BilibiliParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::bilibili;
}

QCoro::Task<ParsedPost> BilibiliParser::parse(QUrl url, HTTPClient http) const
{
    return parseVideo(std::move(url), std::move(http));
}

QCoro::Task<std::optional<BilibiliParser::MP4>> BilibiliParser::mp4(qint64 aid, qint64 cid, HTTPClient http)
{
    return fetchMP4(aid, cid, std::move(http));
}

BilibiliParser::View BilibiliParser::view(const JSON &reply, const QUrl &link)
{
    const JSON data = reply["data"];
    if (!data.exists())
        throw ParseError::structureChanged(QStringLiteral("view api: ") + reply["message"].stringValue());

    ParsedPost post(Platform::bilibili,
                    HostTable::url(Host::BilibiliWeb, QStringLiteral("/video/") + data["bvid"].stringValue())
                        .toString(QUrl::FullyEncoded));
    post.title = data["title"].stringValue();
    post.content = data["desc"].stringValue();
    post.authorName = data["owner"]["name"].stringValue();
    post.authorAvatar = data["owner"]["face"].stringValue();
    post.publishedAt = EpochTime::fromSeconds(data["pubdate"].doubleValue());
    const ParsedMedia cover(MediaKind::image, data["pic"].stringValue(), std::nullopt,
                            data["dimension"]["width"].doubleValue(),
                            data["dimension"]["height"].doubleValue());
    return {post, cover, wholeNumber(data["aid"]), contentID(data, pageNumber(link)),
            data["duration"].doubleValue()};
}
