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

#include <cmath>
#include <memory>

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

void checkParser(const PostParser &parser, const QUrl &link, const QByteArray &page)
{
    const std::optional<ParsedPost> post = parsed(parser, link, page);
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

struct Reader {
    std::shared_ptr<const PostParser> parser;
    QUrl link;
};

// One link of each platform that its parser takes without resolving it.
const QList<Reader> &readers()
{
    static const QList<Reader> all = {
        {std::make_shared<XiaohongshuParser>(),
         QUrl(QStringLiteral("https://www.xiaohongshu.com/explore/abc"))},
        {std::make_shared<DouyinParser>(), QUrl(QStringLiteral("https://www.douyin.com/video/7301"))},
        {std::make_shared<WeiboParser>(), QUrl(QStringLiteral("https://weibo.com/1001/PqR7"))},
        {std::make_shared<XParser>(), QUrl(QStringLiteral("https://x.com/someone/status/123"))},
        {std::make_shared<BilibiliParser>(),
         QUrl(QStringLiteral("https://www.bilibili.com/video/BV1xx411c7mD"))},
        {std::make_shared<WeChatParser>(), QUrl(QStringLiteral("https://mp.weixin.qq.com/s/abc"))},
        {std::make_shared<InstagramParser>(), QUrl(QStringLiteral("https://www.instagram.com/p/abc/"))},
        {std::make_shared<NeteaseMusicParser>(), QUrl(QStringLiteral("https://music.163.com/song?id=123"))},
    };
    return all;
}

} // namespace

// The first byte picks a parser, or the Weibo visitor answer after them; the
// rest answers every request made.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The status itself is read only with a stored cookie; the visitor's
    // answer is read on its own.
    static const bool signedIn = (CookieVault::set(QStringLiteral("SUB=fuzz"), Platform::weibo), true);
    Q_UNUSED(signedIn);
    if (size == 0)
        return 0;
    const qsizetype choice = data[0] % (readers().size() + 1);
    const QByteArray page = Fuzz::bytes(data + 1, size - 1);
    if (choice < readers().size())
        checkParser(*readers().at(choice).parser, readers().at(choice).link, page);
    else
        checkWeiboVisitor(page);
    return 0;
}
