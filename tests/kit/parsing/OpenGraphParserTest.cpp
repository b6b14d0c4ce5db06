#include "FixtureServer.h"
#include "NetworkError.h"
#include "OpenGraphParser.h"
#include "ParseError.h"
#include "TestHome.h"
#include "WaitFor.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kPinterest = QStringLiteral("127.0.0.3");
const QString kInstagram = QStringLiteral("127.0.0.4");

QByteArray pageWith(const QByteArray &head)
{
    return "<!doctype html><html><head>" + head + "</head><body>ignored</body></html>";
}

class OpenGraphParserTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> parseTask(const QUrl &url) { return OpenGraphParser().parse(url, HTTPClient()); }
    ParsedPost parse(const QString &path, const QString &host = kSite)
    {
        return TestAsync::waitFor(parseTask(server.url(host, path)));
    }
    ParsedPost servedAndParsed(const QByteArray &head)
    {
        server.page(kSite, "/post", pageWith(head));
        return parse("/post");
    }

    template <typename Error> Error failure(const QUrl &url)
    {
        return TestAsync::failureOf<Error>(parseTask(url));
    }
    FixtureServer server;
};

TEST_F(OpenGraphParserTest, ReadsTitleTextAndAuthorWithFallbacks)
{
    const ParsedPost post = servedAndParsed(R"(<meta property="og:title" content="A &quot;fine&quot; day">
        <meta name="twitter:title" content="ignored"><meta name="description" content="Plain text">
        <meta property="og:site_name" content="Site"><meta property="og:url" content="https://example.org/p/1">)");
    EXPECT_EQ(post.title, QStringLiteral("A \"fine\" day"));
    EXPECT_EQ(post.content, QStringLiteral("Plain text"));
    EXPECT_EQ(post.authorName, QStringLiteral("Site"));
    EXPECT_EQ(post.canonicalURL, QStringLiteral("https://example.org/p/1"));
    EXPECT_EQ(server.requests().at(0).header("User-Agent"), UserAgent::iPhone.toUtf8());

    const ParsedPost bare = servedAndParsed("<title>Just a title</title>");
    EXPECT_EQ(bare.title, QStringLiteral("Just a title"));
    EXPECT_EQ(bare.authorName, kSite);
}

TEST_F(OpenGraphParserTest, ImagesAreResolvedOnTheFinalPageAndRepeatsDropped)
{
    server.pointAt(Host::PinterestMain, kPinterest);
    server.redirect(kSite, "/short", server.origin(kPinterest) + "/pin/1");
    server.page(kPinterest, "/pin/1", pageWith(R"(
        <meta property="og:image" content="/img/a.jpg"><meta property="og:image:width" content="640">
        <meta property="og:image" content="//cdn.example/b.jpg">
        <meta property="og:image:secure_url" content="https://cdn.example/b.jpg">
        <meta name="twitter:image" content="http://cdn.example/c.jpg">
        <meta name="twitter:image" content="https://cdn.example/c.jpg">
        <meta property="og:image" content="file:///etc/passwd">)"));
    const ParsedPost post = parse("/short");

    EXPECT_EQ(post.media, (QList{ParsedMedia(MediaKind::image, server.origin(kPinterest) + "/img/a.jpg",
                                             std::nullopt, 640, std::nullopt),
                                 ParsedMedia(MediaKind::image, "https://cdn.example/b.jpg"),
                                 ParsedMedia(MediaKind::image, "https://cdn.example/c.jpg")}));
    EXPECT_EQ(post.platform, Platform::pinterest);
    EXPECT_EQ(post.authorName, kPinterest);
}

// Would take minutes with a repeat check that compares each image with all before it.
TEST_F(OpenGraphParserTest, AHeadFullOfImagesFinishes)
{
    QByteArray head;
    for (int i = 0; i < 100000; ++i)
        head +=
            "<meta property=\"og:image\" content=\"https://cdn.example/" + QByteArray::number(i) + ".jpg\">";
    EXPECT_EQ(servedAndParsed(head).media.size(), 100000);
}

TEST_F(OpenGraphParserTest, OnlyAnMP4VideoIsKeptWithTheFirstImageAsCover)
{
    const ParsedPost post = servedAndParsed(R"(<meta property="og:image" content="https://a/1.jpg">
        <meta property="og:image" content="https://a/2.jpg"><meta property="og:video" content="https://a/s.m3u8">
        <meta property="og:video:url" content="http://a/v.mp4?sig=1">)");
    EXPECT_EQ(post.media, (QList{ParsedMedia(MediaKind::video, "https://a/1.jpg",
                                             QStringLiteral("https://a/v.mp4?sig=1")),
                                 ParsedMedia(MediaKind::image, "https://a/2.jpg")}));

    EXPECT_TRUE(servedAndParsed(R"(<title>P</title><meta property="og:video" content="https://a/p.MP4">
        <meta property="og:video:secure_url" content="file:///x.mp4">)")
                    .media.isEmpty());
    EXPECT_EQ(servedAndParsed(R"(<meta property="og:video" content="https://a/v.mp4">)").media,
              QList{ParsedMedia(MediaKind::video, QString(), QStringLiteral("https://a/v.mp4"))});
}

TEST_F(OpenGraphParserTest, APlainSiteReachedFromAPlatformKeepsThePlatformAndCrawlerAgent)
{
    server.pointAt(Host::InstagramMain, kInstagram);
    server.redirect(kInstagram, "/p/1", server.origin(kSite) + "/x");
    server.page(kSite, "/x", pageWith("<title>X</title>"));
    EXPECT_EQ(parse("/p/1", kInstagram).platform, Platform::instagram);
    EXPECT_EQ(server.requests().last().header("User-Agent"), UserAgent::crawler.toUtf8());
}

TEST_F(OpenGraphParserTest, FailuresArePassedOn)
{
    server.page(kSite, "/empty", pageWith(R"(<meta name="description" content="text only">)"));
    EXPECT_EQ(failure<ParseError>(server.url(kSite, "/empty")).kind(), ParseError::Kind::notSupported);
    EXPECT_EQ(failure<ParseError>(server.url(kSite, "/missing")).status(), 404);
    EXPECT_EQ(failure<NetworkError>(QUrl("file:///etc/hosts")).kind(), NetworkError::Kind::unsupportedScheme);
}

} // namespace
