#include "OpenGraphParser.h"

#include "OpenGraph.h"
#include "ParseError.h"
#include "Text.h"

#include <QSet>
#include <cmath>

namespace {

QString firstValue(const OpenGraph &tags, std::initializer_list<const char *> keys)
{
    for (const char *key : keys)
        if (const auto value = tags[QLatin1String(key)])
            return *value;
    return {};
}

// A link with a scheme other than http or https could never be fetched.
bool isFetchable(const QUrl &url)
{
    return url.scheme().isEmpty() || HTTPClient::isWebScheme(url);
}

// A relative media link is made absolute on the page reached; an absolute one
// is kept as written.
std::optional<QString> resolvedLink(const QString &candidate, const QUrl &page)
{
    const QUrl url(candidate);
    if (!url.isValid())
        return candidate;
    if (!isFetchable(url))
        return std::nullopt;
    return url.isRelative() ? page.resolved(url).toString(QUrl::FullyEncoded) : candidate;
}

QStringList imageLinks(const OpenGraph &tags, const QUrl &page)
{
    QStringList links;
    QSet<QString> seen;
    for (const char *key : {"og:image", "og:image:url", "og:image:secure_url", "twitter:image"}) {
        for (const QString &candidate : tags.metaTags().value(QLatin1String(key))) {
            const std::optional<QString> link = resolvedLink(candidate, page);
            if (!link)
                continue;
            const QString normalized = ParsedMedia::normalizedLink(*link);
            if (seen.contains(normalized))
                continue;
            seen.insert(normalized);
            links.append(*link);
        }
    }
    return links;
}

// A size; "nan", "inf", zero and negative numbers give none.
std::optional<double> imageSize(const OpenGraph &tags, const char *key)
{
    const std::optional<QString> text = tags[QLatin1String(key)];
    bool ok = false;
    const double value = text ? text->toDouble(&ok) : 0;
    return ok && std::isfinite(value) && value > 0 ? std::optional<double>(value) : std::nullopt;
}

QList<ParsedMedia> images(const OpenGraph &tags, const QUrl &page)
{
    QList<ParsedMedia> media;
    for (const QString &link : imageLinks(tags, page)) {
        if (media.isEmpty())
            media.append(ParsedMedia(MediaKind::image, link, std::nullopt, imageSize(tags, "og:image:width"),
                                     imageSize(tags, "og:image:height")));
        else
            media.append(ParsedMedia(MediaKind::image, link));
    }
    return media;
}

// Only a plain MP4 file can be saved; players and streams are left out.
std::optional<QString> mp4Video(const OpenGraph &tags, const QUrl &page)
{
    const QString video = firstValue(tags, {"og:video:secure_url", "og:video:url", "og:video"});
    const bool mp4 = video.endsWith(QLatin1String(".mp4")) || video.contains(QLatin1String(".mp4?"));
    return mp4 ? resolvedLink(video, page) : std::nullopt;
}

// The video takes the first image as its cover.
void putVideoFirst(QList<ParsedMedia> &media, const QString &video)
{
    const QString cover = media.isEmpty() ? QString() : media.takeFirst().url;
    media.prepend(ParsedMedia(MediaKind::video, cover, video));
}

QString userAgentFor(Platform platform)
{
    return platform == Platform::instagram || platform == Platform::threads ? UserAgent::crawler
                                                                            : UserAgent::iPhone;
}

QCoro::Task<ParsedPost> parsePage(QUrl url, HTTPClient http)
{
    const Platform linkPlatform = Platform::detect(url);
    const HTTPClient::Page page = co_await http.html(url, {}, userAgentFor(linkPlatform));
    const OpenGraph tags(page.text);

    const Platform finalPlatform = Platform::detect(page.url);
    ParsedPost post(finalPlatform == Platform::web ? linkPlatform : finalPlatform,
                    tags[QStringLiteral("og:url")].value_or(page.url.toString(QUrl::FullyEncoded)));
    post.title = firstValue(tags, {"og:title", "twitter:title", "title"});
    post.content = firstValue(tags, {"og:description", "description", "twitter:description"});
    // The name becomes part of an account key.
    post.authorName = Text::cappedKey(firstValue(tags, {"author", "og:site_name"}));
    if (post.authorName.isEmpty())
        post.authorName = page.url.host();
    post.media = images(tags, page.url);
    if (const auto video = mp4Video(tags, page.url))
        putVideoFirst(post.media, *video);

    if (post.title.isEmpty() && post.media.isEmpty())
        throw ParseError::notSupported();
    co_return post;
}

} // namespace

bool OpenGraphParser::canHandle(const QUrl &) const
{
    return true;
}

QCoro::Task<ParsedPost> OpenGraphParser::parse(QUrl url, HTTPClient http) const
{
    return parsePage(std::move(url), std::move(http));
}
