#include "OpenGraphParser.h"
#include "PlatformParserTest.h"
#include "Text.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kPlatform = QStringLiteral("127.0.0.3");

class OpenGraphParserTest : public PlatformParserTest<OpenGraphParser> {
protected:
    void SetUp() override { linkAddress = kSite; }
    ParsedPost servedAndParsed(const QByteArray &head)
    {
        server.page(kSite, "/post", "<html><head>" + head + "</head><body>ignored</body></html>");
        return parse("/post");
    }
};

TEST_F(OpenGraphParserTest, ReadsTitleTextAndAuthorWithFallbacks)
{
    const ParsedPost post = servedAndParsed(R"(<meta property="og:title" content="A &quot;fine&quot; day">
        <meta name="description" content="Plain text"><meta property="og:site_name" content="Site">)");
    EXPECT_EQ(post.title, QStringLiteral("A \"fine\" day"));
    EXPECT_EQ(post.content, QStringLiteral("Plain text"));
    EXPECT_EQ(post.authorName, QStringLiteral("Site"));

    server.page(kSite, "/empty", R"(<head><meta name="description" content="text only"></head>)");
    EXPECT_EQ(failure("/empty").kind(), ParseError::Kind::notSupported);
}

TEST_F(OpenGraphParserTest, MediaAreResolvedOnTheFinalPageAndRepeatsDropped)
{
    server.pointAt(Host::PinterestMain, kPlatform);
    server.redirect(kSite, "/short", server.origin(kPlatform) + "/pin/1");
    server.page(kPlatform, "/pin/1", R"(<head>
        <meta property="og:image" content="/img/a.jpg"><meta property="og:image:width" content="640">
        <meta property="og:image" content="//cdn.example/b.jpg">
        <meta property="og:image:secure_url" content="https://cdn.example/b.jpg">
        <meta name="twitter:image" content="http://cdn.example/c.jpg">
        <meta name="twitter:image" content="https://cdn.example/c.jpg">
        <meta property="og:image" content="file:///etc/passwd"></head>)");
    const ParsedPost post = parse("/short");

    EXPECT_EQ(post.media, (QList{ParsedMedia(MediaKind::image, server.origin(kPlatform) + "/img/a.jpg",
                                             std::nullopt, 640, std::nullopt),
                                 ParsedMedia(MediaKind::image, "https://cdn.example/b.jpg"),
                                 ParsedMedia(MediaKind::image, "https://cdn.example/c.jpg")}));
    EXPECT_EQ(post.platform, Platform::pinterest);

    server.redirect(kSite, "/short-video", server.origin(kPlatform) + "/pin/2");
    server.page(kPlatform, "/pin/2", R"(<head><meta property="og:image" content="/img/cover.jpg">
        <meta property="og:video" content="/v/clip.mp4"></head>)");
    EXPECT_EQ(parse("/short-video").media,
              QList{ParsedMedia(MediaKind::video, server.origin(kPlatform) + "/img/cover.jpg",
                                server.origin(kPlatform) + "/v/clip.mp4")});
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

TEST_F(OpenGraphParserTest, ImageSizesMustBeFinitePositiveNumbers)
{
    for (const QByteArray width : {"nan", "inf", "-Infinity", "0", "-3"}) {
        const ParsedPost post = servedAndParsed(R"(<meta property="og:image" content="https://a/1.jpg">
            <meta property="og:image:height" content="480"><meta property="og:image:width" content=")" +
                                                width + "\">");
        EXPECT_EQ(post.media,
                  QList{ParsedMedia(MediaKind::image, "https://a/1.jpg", std::nullopt, std::nullopt, 480)})
            << width.constData();
    }
}

TEST_F(OpenGraphParserTest, AnAuthorNameIsCutToTheLengthOfAKey)
{
    const QByteArray name = QByteArray("\xcc\x96\xcc\x81").repeated(32768);
    const ParsedPost post =
        servedAndParsed("<title>T</title><meta name=\"author\" content=\"" + name + "\">");
    EXPECT_EQ(post.authorName, QString::fromUtf8(name).left(Text::keyLengthLimit));
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
}

TEST_F(OpenGraphParserTest, APlainSiteReachedFromAPlatformKeepsThePlatformAndCrawlerAgent)
{
    server.pointAt(Host::InstagramMain, kPlatform);
    server.redirect(kPlatform, "/p/1", server.origin(kSite) + "/x");
    server.page(kSite, "/x", "<head><title>X</title></head>");
    linkAddress = kPlatform;
    EXPECT_EQ(parse("/p/1").platform, Platform::instagram);
    EXPECT_EQ(server.requests().last().header("User-Agent"), QList{UserAgent::crawler.toUtf8()});
}

} // namespace
