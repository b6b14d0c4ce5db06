#include "FixtureServer.h"
#include "NetworkError.h"
#include "OpenGraphParser.h"
#include "ParseError.h"
#include "TestHome.h"
#include "WaitFor.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kPinterest = QStringLiteral("127.0.0.3");

QByteArray pageWith(const QByteArray &head)
{
    return "<!doctype html><html><head>" + head + "</head><body>ignored</body></html>";
}

class OpenGraphParserTest : public HomeTest {
protected:
    QCoro::Task<ParsedPost> parseTask(const QUrl &url) { return OpenGraphParser().parse(url, HTTPClient()); }
    ParsedPost parse(const QString &path) { return TestAsync::waitFor(parseTask(server.url(kSite, path))); }
    ParsedPost servedAndParsed(const QByteArray &head)
    {
        server.page(kSite, QStringLiteral("/post"), pageWith(head));
        return parse(QStringLiteral("/post"));
    }

    FixtureServer server;
};

TEST_F(OpenGraphParserTest, ReadsTitleTextAuthorAndCanonicalLink)
{
    const ParsedPost post = servedAndParsed(R"(<meta property="og:title" content="A &quot;fine&quot; day">
        <meta name="twitter:title" content="ignored"><meta name="description" content="Plain text">
        <meta property="og:site_name" content="Site"><meta property="og:url" content="https://example.org/p/1">)");
    EXPECT_EQ(post.title, QStringLiteral("A \"fine\" day"));
    EXPECT_EQ(post.content, QStringLiteral("Plain text"));
    EXPECT_EQ(post.authorName, QStringLiteral("Site"));
    EXPECT_EQ(post.canonicalURL, QStringLiteral("https://example.org/p/1"));
    EXPECT_EQ(post.platform, Platform::web);
    EXPECT_TRUE(post.media.isEmpty());
    EXPECT_TRUE(post.authorAvatar.isEmpty());
    EXPECT_FALSE(post.publishedAt.has_value());
    EXPECT_EQ(server.requests().at(0).header("User-Agent"), UserAgent::iPhone.toUtf8());
}

TEST_F(OpenGraphParserTest, ADocumentTitleAloneIsEnoughAndTheHostNamesTheAuthor)
{
    const ParsedPost post = servedAndParsed("<title>Just a title</title>");
    EXPECT_EQ(post.title, QStringLiteral("Just a title"));
    EXPECT_EQ(post.authorName, kSite);
    EXPECT_EQ(post.canonicalURL, server.url(kSite, QStringLiteral("/post")).toString());
}

TEST_F(OpenGraphParserTest, ImagesAreResolvedOnTheFinalPageAndRepeatsDropped)
{
    server.redirect(kSite, QStringLiteral("/short"), server.origin(kPinterest) + QStringLiteral("/pin/1"));
    server.page(kPinterest, QStringLiteral("/pin/1"), pageWith(R"(
        <meta property="og:image" content="/img/a.jpg"><meta property="og:image:width" content="640">
        <meta property="og:image:height" content="4x3">
        <meta property="og:image" content="//cdn.example/b.jpg">
        <meta property="og:image:secure_url" content="https://cdn.example/b.jpg">
        <meta name="twitter:image" content="http://cdn.example/c.jpg">
        <meta name="twitter:image" content="https://cdn.example/c.jpg">
        <meta property="og:image" content="file:///etc/passwd">)"));
    const ParsedPost post = parse(QStringLiteral("/short"));

    ASSERT_EQ(post.media.size(), 3);
    EXPECT_EQ(post.media[0],
              ParsedMedia(MediaKind::image, server.origin(kPinterest) + QStringLiteral("/img/a.jpg"),
                          std::nullopt, 640, std::nullopt));
    EXPECT_EQ(post.media[1].url, QStringLiteral("https://cdn.example/b.jpg"));
    EXPECT_EQ(post.media[2].url, QStringLiteral("https://cdn.example/c.jpg"));
    EXPECT_FALSE(post.media[1].width.has_value());
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

TEST_F(OpenGraphParserTest, AnMP4VideoTakesTheFirstImageAsCover)
{
    const ParsedPost post = servedAndParsed(R"(<meta property="og:image" content="https://a/1.jpg">
        <meta property="og:image:width" content="640"><meta property="og:image" content="https://a/2.jpg">
        <meta property="og:video" content="https://a/stream.m3u8">
        <meta property="og:video:url" content="http://a/v.mp4?sig=1">)");
    ASSERT_EQ(post.media.size(), 2);
    EXPECT_EQ(post.media[0], ParsedMedia(MediaKind::video, QStringLiteral("https://a/1.jpg"),
                                         QStringLiteral("https://a/v.mp4?sig=1")));
    EXPECT_EQ(post.media[1].url, QStringLiteral("https://a/2.jpg"));
}

TEST_F(OpenGraphParserTest, OtherVideosAreIgnoredAndAVideoAloneHasNoCover)
{
    const ParsedPost player = servedAndParsed(R"(<meta property="og:title" content="Player">
        <meta property="og:video" content="https://a/player.MP4"><meta property="og:video:secure_url" content="file:///x.mp4">)");
    EXPECT_TRUE(player.media.isEmpty());

    const ParsedPost bare = servedAndParsed(R"(<meta property="og:video" content="https://a/v.mp4">)");
    ASSERT_EQ(bare.media.size(), 1);
    EXPECT_EQ(bare.media[0].kind, MediaKind::video);
    EXPECT_EQ(bare.media[0].url, QString());
}

TEST_F(OpenGraphParserTest, APageWithNeitherTitleNorMediaIsNotSupported)
{
    server.page(kSite, QStringLiteral("/empty"),
                pageWith(R"(<meta name="description" content="text only">)"));
    EXPECT_EQ(TestAsync::failureOf<ParseError>(parseTask(server.url(kSite, QStringLiteral("/empty")))).kind(),
              ParseError::Kind::notSupported);
}

TEST_F(OpenGraphParserTest, PlatformIsTheFinalHostsUnlessThatIsAPlainSite)
{
    server.pointAt(Host::PinterestMain, kPinterest);
    server.pointAt(Host::InstagramMain, QStringLiteral("127.0.0.4"));
    server.redirect(kSite, QStringLiteral("/to-pin"), server.origin(kPinterest) + QStringLiteral("/pin/2"));
    server.page(kPinterest, QStringLiteral("/pin/2"), pageWith("<title>Pin</title>"));
    EXPECT_EQ(parse(QStringLiteral("/to-pin")).platform, Platform::pinterest);

    server.redirect(QStringLiteral("127.0.0.4"), QStringLiteral("/p/1"),
                    server.origin(kSite) + QStringLiteral("/x"));
    server.page(kSite, QStringLiteral("/x"), pageWith("<title>X</title>"));
    const ParsedPost post =
        TestAsync::waitFor(parseTask(server.url(QStringLiteral("127.0.0.4"), QStringLiteral("/p/1"))));
    EXPECT_EQ(post.platform, Platform::instagram);
    EXPECT_EQ(server.requests().last().header("User-Agent"), UserAgent::crawler.toUtf8());
}

TEST_F(OpenGraphParserTest, FetchFailuresArePassedOn)
{
    EXPECT_EQ(
        TestAsync::failureOf<ParseError>(parseTask(server.url(kSite, QStringLiteral("/missing")))).status(),
        404);
    EXPECT_EQ(TestAsync::failureOf<NetworkError>(parseTask(QUrl(QStringLiteral("file:///etc/hosts")))).kind(),
              NetworkError::Kind::unsupportedScheme);
}

} // namespace
