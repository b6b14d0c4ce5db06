#include "WeiboParser.h"

#include "CookieVault.h"
#include "EpochTime.h"
#include "HostTable.h"
#include "Markup.h"
#include "NetworkError.h"
#include "NetworkSession.h"
#include "ParseError.h"
#include "Text.h"

#include <QCoro/QCoroNetworkReply>
#include <QRegularExpression>
#include <QScopedPointer>
#include <QTimeZone>
#include <chrono>

namespace {

constexpr std::chrono::milliseconds kVisitorTimeout{60000};

// Post ids are numbers or base-62 "mblogid"s; anything else would change the
// request it is put into.
bool isPlainID(const QString &id)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]+$"));
    return plain.match(id).hasMatch();
}

bool isShortLink(const QUrl &url)
{
    const QString shortDomain = HostTable::host(Host::WeiboShort);
    const QString path = url.path();
    return (!shortDomain.isEmpty() && url.host().contains(shortDomain)) ||
           path.startsWith(QLatin1String("/share")) || path.startsWith(QLatin1String("/l/"));
}

QString postID(const QUrl &url)
{
    // Encoded, so that an escaped "/" or "&" stays inside its segment and fails the test.
    const QStringList segments = url.path(QUrl::FullyEncoded).split(u'/', Qt::SkipEmptyParts);
    if (segments.isEmpty() || !isPlainID(segments.last()))
        throw ParseError::structureChanged(QStringLiteral("status id"));
    return segments.last();
}

QString webHome()
{
    return HostTable::origin(Host::WeiboMain) + QLatin1Char('/');
}

QUrl endpoint(const char *path, const QString &id)
{
    return HostTable::url(Host::WeiboMain, QLatin1String(path) + QStringLiteral("?id=") + id);
}

// The JSON inside "visitor_gray_callback({...})": from the first "({" to the
// last "})", found without a regular expression so any body takes linear time.
std::optional<QString> callbackObject(const QString &body)
{
    const qsizetype open = body.indexOf(QLatin1String("({"));
    const qsizetype close = body.lastIndexOf(QLatin1String("})"));
    if (open < 0 || close < open + 2)
        return std::nullopt;
    return body.mid(open + 1, close - open);
}

QString visitorCookieFrom(const QString &body)
{
    const std::optional<QString> object = callbackObject(body);
    JSON answer;
    try {
        if (object)
            answer = JSON::fromString(*object);
    } catch (const JSONError &) {
    }
    const std::optional<QString> sub = answer["data"]["sub"].string();
    const std::optional<QString> subp = answer["data"]["subp"].string();
    if (!sub || !subp)
        throw ParseError::structureChanged(QStringLiteral("weibo visitor"));
    return QStringLiteral("SUB=%1; SUBP=%2").arg(*sub, *subp);
}

// The one form of "created_at": "Tue Nov 05 18:30:00 +0800 2024"; none for any other.
std::optional<QDateTime> createdAt(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^(?:Mon|Tue|Wed|Thu|Fri|Sat|Sun) ([A-Z][a-z]{2}) (\\d{2}) "
                       "(\\d{2}):(\\d{2}):(\\d{2}) ([+-])(\\d{2})(\\d{2}) (\\d{4})$"));
    static const QStringList months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    // An unknown month gives month 0, which no date has.
    const QDate date(number(9), int(months.indexOf(match.captured(1))) + 1, number(2));
    const QTime time(number(3), number(4), number(5));
    const int offset =
        (match.captured(6) == QLatin1String("-") ? -1 : 1) * (number(7) * 3600 + number(8) * 60);
    const QDateTime moment(date, time, QTimeZone(offset));
    if (!EpochTime::isStorable(moment) || number(8) >= 60)
        return std::nullopt;
    return moment.toUTC();
}

QString text(const JSON &status)
{
    if (const std::optional<QString> raw = status["text_raw"].string())
        return *raw;
    return Markup::strippingHTML(status["text"].stringValue());
}

// The full text of a long post; none when the request or its answer fails.
QCoro::Task<std::optional<QString>> longText(HTTPClient http, QString mblogid, HTTPClient::Headers headers)
{
    try {
        const JSON answer =
            co_await http.json(endpoint("/ajax/statuses/longtext", mblogid), headers, UserAgent::desktop);
        const std::optional<QString> content = answer["data"]["longTextContent"].string();
        if (content && !content->isEmpty())
            co_return content;
    } catch (const std::exception &) {
    }
    co_return std::nullopt;
}

QString content(const QString &text)
{
    return Text::trimmingWhitespaceAndNewlines(QString(text).remove(QChar(0x200B)));
}

std::optional<ParsedMedia> picture(const JSON &info)
{
    const JSON size = info["largest"].exists() ? info["largest"] : info["large"];
    const std::optional<QString> link = size["url"].string();
    if (!link)
        return std::nullopt;
    const bool live =
        info["type"].stringValue() == QLatin1String("livephoto") && info["video"].raw().isString();
    return ParsedMedia(live ? MediaKind::livePhoto : MediaKind::image, *link,
                       live ? std::optional(info["video"].stringValue()) : std::nullopt,
                       size["width"].doubleValue(), size["height"].doubleValue());
}

QList<ParsedMedia> pictures(const JSON &status)
{
    QList<ParsedMedia> items;
    for (const JSON &id : status["pic_ids"].array())
        if (const std::optional<QString> key = id.string())
            if (std::optional<ParsedMedia> item = picture(status["pic_infos"][*key]))
                items.append(*item);
    return items;
}

std::optional<ParsedMedia> videoCard(const JSON &pageInfo)
{
    if (pageInfo["object_type"].raw() != QJsonValue(QStringLiteral("video")))
        return std::nullopt;
    const JSON info = pageInfo["media_info"];
    std::optional<QString> video;
    for (const char *key : {"mp4_720p_mp4", "mp4_hd_url", "stream_url_hd", "stream_url"}) {
        if (const QString link = info[key].stringValue(); !link.isEmpty()) {
            video = link;
            break;
        }
    }
    return ParsedMedia(MediaKind::video, pageInfo["page_pic"].stringValue(), video, std::nullopt,
                       std::nullopt, info["duration"].doubleValue());
}

QCoro::Task<ParsedPost> parseStatus(QUrl url, HTTPClient http)
{
    // No co_await inside a conditional expression: gcc 12 miscompiles it.
    QUrl link = url;
    if (isShortLink(url))
        link = co_await http.resolve(url, UserAgent::iPhone);
    const QString id = postID(link);
    std::optional<QString> cookie = CookieVault::header(Platform::weibo);
    if (!cookie)
        cookie = co_await WeiboParser::visitorCookie(http);
    const HTTPClient::Headers headers{{QStringLiteral("Cookie"), *cookie},
                                      {QStringLiteral("Referer"), webHome()}};

    const JSON status = co_await http.json(endpoint("/ajax/statuses/show", id), headers, UserAgent::desktop);
    const JSON user = status["user"];
    if (status["ok"].intValue() != 1 || !user.exists())
        throw ParseError::structureChanged(QStringLiteral("statuses/show"));

    const std::optional<QString> answeredID = status["mblogid"].string();
    const QString mblogid = answeredID && isPlainID(*answeredID) ? *answeredID : id;
    const QString authorID = user["idstr"].string().value_or(user["id"].stringValue());
    ParsedPost post(Platform::weibo, webHome() + authorID + QLatin1Char('/') + mblogid);

    QString body = text(status);
    if (status["isLongText"].raw() == QJsonValue(true))
        body = (co_await longText(http, mblogid, headers)).value_or(body);
    post.content = content(body);
    post.authorName = user["screen_name"].stringValue();
    post.authorAvatar = user["avatar_large"].string().value_or(user["profile_image_url"].stringValue());
    if (status["created_at"].raw().isString())
        post.publishedAt = createdAt(status["created_at"].stringValue());
    post.media = pictures(status);
    if (std::optional<ParsedMedia> video = videoCard(status["page_info"]))
        post.media.append(*video);
    co_return post;
}

QCoro::Task<QString> fetchVisitorCookie(HTTPClient http)
{
    QNetworkAccessManager *session = http.session();
    if (!session)
        throw NetworkError(NetworkError::Kind::other, QStringLiteral("no network session"));
    QNetworkRequest request(HostTable::url(Host::WeiboPassport, QStringLiteral("/visitor/genvisitor2")));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(int(kVisitorTimeout.count()));
    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(
        session->post(request, QByteArrayLiteral("cb=visitor_gray_callback&tid=&from=weibo")));
    co_await reply.get();
    // Any answer will do, whatever its status: the callback text is what counts.
    if (const auto failure = NetworkSession::failureKind(*reply))
        throw NetworkError(*failure, reply->errorString());
    co_return visitorCookieFrom(QString::fromUtf8(reply->readAll()));
}

} // namespace

bool WeiboParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::weibo;
}

QCoro::Task<ParsedPost> WeiboParser::parse(QUrl url, HTTPClient http) const
{
    return parseStatus(std::move(url), std::move(http));
}

QCoro::Task<QString> WeiboParser::visitorCookie(HTTPClient http)
{
    return fetchVisitorCookie(std::move(http));
}
