#include "NeteaseMusicParser.h"

#include "EpochTime.h"
#include "HostTable.h"
#include "Markup.h"
#include "NetworkSession.h"
#include "ParseError.h"
#include "Text.h"

#include <QCoro/QCoroNetworkReply>
#include <QRegularExpression>
#include <QScopedPointer>
#include <chrono>

namespace {

constexpr std::chrono::milliseconds kAudioTimeout{15000};
const QString kCoverSize = QStringLiteral("?param=1000y1000");
constexpr double kCoverSide = 1000;

QString webHome()
{
    return HostTable::origin(Host::NeteaseMusic) + QLatin1Char('/');
}

QUrl endpoint(const QString &pathAndQuery)
{
    return HostTable::url(Host::NeteaseMusic, pathAndQuery);
}

const HTTPClient::Headers &refererHeaders()
{
    static const HTTPClient::Headers headers{{QStringLiteral("Referer"), webHome()}};
    return headers;
}

// A redirect to anything but an MP3 on the audio host (a "/404" page, another
// site, a relative or non-web link) is no audio.
std::optional<QString> audioFromLocation(const QString &location)
{
    if (location.contains(QLatin1String("/404")) || !location.contains(QLatin1String(".mp3")))
        return std::nullopt;
    const QString link = ParsedMedia::normalizedLink(location);
    const QUrl url(link, QUrl::StrictMode);
    if (!url.isValid() || !HTTPClient::isWebScheme(url) ||
        !NetworkSession::isWithinDomains(url.host().toLower(), {HostTable::host(Host::NeteaseAudio)}))
        return std::nullopt;
    return link;
}

QString artistNames(const JSON &artists)
{
    QStringList names;
    for (const JSON &artist : artists.array())
        if (const std::optional<QString> name = artist["name"].string())
            names.append(*name);
    return names.join(u'/');
}

// The extra answers (avatar, lyrics) only add to the post; their failures are dropped.
QCoro::Task<JSON> optionalJSON(HTTPClient http, QUrl url)
{
    try {
        co_return co_await http.json(url, refererHeaders(), UserAgent::desktop);
    } catch (const std::exception &) {
    }
    co_return JSON();
}

std::optional<QString> textOf(const JSON &value)
{
    return value.raw().isString() ? value.string() : std::nullopt;
}

QCoro::Task<QString> artistAvatar(HTTPClient http, JSON artists)
{
    const std::optional<qint64> id = artists[0]["id"].intValue();
    if (!id)
        co_return QString();
    const JSON answer =
        co_await optionalJSON(http, endpoint(QStringLiteral("/api/artist/head/info/get?id=%1").arg(*id)));
    const JSON artist = answer["data"]["artist"];
    // Head answers name the artist's picture "cover" where they have no "avatar".
    std::optional<QString> picture = textOf(artist["avatar"]);
    if (!picture)
        picture = textOf(artist["cover"]);
    co_return picture ? ParsedMedia::normalizedLink(*picture) : QString();
}

QCoro::Task<QString> songText(HTTPClient http, QString id, QString name, JSON album)
{
    QStringList parts;
    const QString albumName = album["name"].raw().isString() ? album["name"].stringValue() : QString();
    if (!albumName.isEmpty() && albumName != name)
        parts.append(QStringLiteral("专辑：") + albumName);
    const JSON lyric =
        co_await optionalJSON(http, endpoint(QStringLiteral("/api/song/lyric?id=%1&lv=1").arg(id)));
    if (const std::optional<QString> lyrics = lyric["lrc"]["lyric"].string())
        if (const QString plain = NeteaseMusicParser::plainLyrics(*lyrics); !plain.isEmpty())
            parts.append(plain);
    co_return parts.join(QStringLiteral("\n\n"));
}

std::optional<QDateTime> publishedAt(const JSON &album)
{
    const std::optional<double> millis = album["publishTime"].doubleValue();
    if (!millis || *millis <= 0)
        return std::nullopt;
    return EpochTime::fromSeconds(*millis / 1000);
}

QCoro::Task<ParsedPost> parseSong(QUrl url, HTTPClient http)
{
    std::optional<QString> id = NeteaseMusicParser::songID(url);
    if (!id)
        id = NeteaseMusicParser::songID(co_await http.resolve(url, UserAgent::iPhone));
    if (!id)
        throw ParseError::notSupported();

    const JSON detail = co_await http.json(
        endpoint(QStringLiteral("/api/song/detail/?ids=%5B") + *id + QStringLiteral("%5D")), refererHeaders(),
        UserAgent::desktop);
    const JSON song = detail["songs"][0];
    const std::optional<QString> name = song["name"].string();
    if (!name)
        throw ParseError::structureChanged(QStringLiteral("songs"));

    ParsedPost post(Platform::netease, endpoint(QStringLiteral("/song?id=") + *id).toString());
    post.title = *name;
    post.authorName = artistNames(song["artists"]);
    post.authorAvatar = co_await artistAvatar(http, song["artists"]);
    post.publishedAt = publishedAt(song["album"]);
    post.content = co_await songText(http, *id, *name, song["album"]);

    const std::optional<QString> cover = song["album"]["picUrl"].string();
    const std::optional<QString> audio = co_await NeteaseMusicParser::audioURL(*id, http.session());
    std::optional<double> duration = song["duration"].doubleValue();
    if (duration)
        *duration /= 1000;
    post.media = {ParsedMedia(audio ? MediaKind::audio : MediaKind::image,
                              cover ? *cover + kCoverSize : QString(), audio, kCoverSide, kCoverSide,
                              duration)};
    co_return post;
}

QCoro::Task<std::optional<QString>> fetchAudioURL(QString id, QNetworkAccessManager *session)
{
    if (!session)
        co_return std::nullopt;
    QNetworkRequest request(endpoint(QStringLiteral("/song/media/outer/url?id=%1.mp3").arg(id)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(int(kAudioTimeout.count()));
    request.setRawHeader("User-Agent", UserAgent::desktop.toUtf8());
    request.setRawHeader("Referer", webHome().toUtf8());
    const QScopedPointer<QNetworkReply, QScopedPointerDeleteLater> reply(session->head(request));
    co_await reply.get();
    // Errors from 200 up describe an HTTP answer, whose status does not matter here.
    if (reply->error() != QNetworkReply::NoError && reply->error() < 200)
        co_return std::nullopt;
    const QByteArray location = reply->rawHeader("Location");
    if (location.isEmpty())
        co_return std::nullopt;
    co_return audioFromLocation(QString::fromUtf8(location));
}

} // namespace

bool NeteaseMusicParser::canHandle(const QUrl &url) const
{
    return Platform::detect(url) == Platform::netease;
}

QCoro::Task<ParsedPost> NeteaseMusicParser::parse(QUrl url, HTTPClient http) const
{
    return parseSong(std::move(url), std::move(http));
}

std::optional<QString> NeteaseMusicParser::songID(const QUrl &url)
{
    static const QRegularExpression query(QStringLiteral("[?&]id=(\\d+)"));
    static const QRegularExpression path(QStringLiteral("/song/(\\d+)"));
    const QString link = url.toString(QUrl::FullyEncoded);
    QRegularExpressionMatch match = query.match(link);
    if (!match.hasMatch())
        match = path.match(link);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

QString NeteaseMusicParser::plainLyrics(const QString &lyrics)
{
    static const QRegularExpression timeTag(QStringLiteral("\\[[0-9:.]+\\]"));
    QStringList lines;
    // A CR LF ends a line like a lone LF; the CR goes with the trimming.
    for (QString line : lyrics.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = Text::trimmingWhitespace(line.remove(timeTag));
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines.join(u'\n');
}

QCoro::Task<std::optional<QString>> NeteaseMusicParser::audioURL(QString id, QNetworkAccessManager *session)
{
    return fetchAudioURL(std::move(id), session);
}
