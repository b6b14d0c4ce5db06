#include "BilibiliParser.h"
#include "CookieVault.h"
#include "DouyinParser.h"
#include "FuzzCheck.h"
#include "InstagramParser.h"
#include "JSON.h"
#include "NeteaseMusicParser.h"
#include "ParseError.h"
#include "ParseFromMemory.h"
#include "WeChatParser.h"
#include "WeiboParser.h"
#include "XParser.h"
#include "XiaohongshuParser.h"

#include <array>
#include <cmath>
#include <functional>

namespace {

bool isFinite(const std::optional<double> &number)
{
    return !number || std::isfinite(*number);
}

// What the importer takes on: normalised links, finite sizes (it keeps only
// positive ones) and a duration it can show.
void checkMedia(const ParsedMedia &media)
{
    for (const QString &link : {media.url, media.videoURL.value_or(QString())})
        Fuzz::require(!link.startsWith(QLatin1String("http://")) && !link.startsWith(QLatin1String("//")),
                      "media links are normalised");
    Fuzz::require(isFinite(media.width) && isFinite(media.height), "media sizes are finite");
    Fuzz::require(isFinite(media.duration) && media.duration.value_or(0) >= 0, "a duration is not negative");
}

// The post `page` gives as every answer to the parser's requests for a link
// it takes without resolving it; none when the parser refuses the page.
std::optional<ParsedPost> parsed(const PostParser &parser, const QUrl &link, const QByteArray &page)
{
    try {
        return Fuzz::parseFromMemory(parser, link, page);
    } catch (const ParseError &) {
    } catch (const JSONError &) {
    }
    return std::nullopt;
}

template <typename Parser> void checkParser(const char *link, const QByteArray &page)
{
    const Parser parser;
    const std::optional<ParsedPost> post = parsed(parser, QUrl(QString::fromLatin1(link)), page);
    if (!post)
        return;
    Fuzz::require(parser.canHandle(QUrl(post->canonicalURL)), "the canonical link is the platform's own");
    Fuzz::require(!post->publishedAt || post->publishedAt->isValid(), "a publishing time is a valid time");
    for (const ParsedMedia &media : post->media)
        checkMedia(media);
}

void checkWeiboVisitor(const QByteArray &answer)
{
    try {
        const QString cookie = Fuzz::fromMemory(
            answer, [](CannedNetwork &network) { return WeiboParser::visitorCookie(HTTPClient(&network)); });
        Fuzz::require(cookie.startsWith(QLatin1String("SUB=")) && cookie.contains(QLatin1String("; SUBP=")),
                      "a visitor cookie has both parts");
    } catch (const ParseError &error) {
        Fuzz::require(error.token() == QLatin1String("weibo visitor"), "an unusable visitor answer is named");
    }
}

using Check = std::function<void(const QByteArray &)>;

const std::array<Check, 9> &checks()
{
    static const std::array<Check, 9> all = {
        [](const QByteArray &page) {
            checkParser<XiaohongshuParser>("https://www.xiaohongshu.com/explore/abc", page);
        },
        [](const QByteArray &page) { checkParser<DouyinParser>("https://www.douyin.com/video/7301", page); },
        [](const QByteArray &page) { checkParser<WeiboParser>("https://weibo.com/1001/PqR7", page); },
        [](const QByteArray &page) { checkParser<XParser>("https://x.com/someone/status/123", page); },
        [](const QByteArray &page) {
            checkParser<BilibiliParser>("https://www.bilibili.com/video/BV1xx411c7mD", page);
        },
        [](const QByteArray &page) { checkParser<WeChatParser>("https://mp.weixin.qq.com/s/abc", page); },
        [](const QByteArray &page) {
            checkParser<InstagramParser>("https://www.instagram.com/p/abc/", page);
        },
        [](const QByteArray &page) {
            checkParser<NeteaseMusicParser>("https://music.163.com/song?id=123", page);
        },
        checkWeiboVisitor,
    };
    return all;
}

} // namespace

// The first byte picks the reader; the rest answers every request it makes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The status itself is read only with a stored cookie; the visitor's
    // answer is read on its own.
    static const bool signedIn = (CookieVault::set(QStringLiteral("SUB=fuzz"), Platform::weibo), true);
    Q_UNUSED(signedIn);
    if (size > 0)
        checks().at(data[0] % checks().size())(Fuzz::bytes(data + 1, size - 1));
    return 0;
}
