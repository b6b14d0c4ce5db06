#include "JSON.h"
#include "PlatformParserTest.h"
#include "XParser.h"

namespace {

const QString kX = QStringLiteral("127.0.0.4");
const QString kMirror = QStringLiteral("127.0.0.5");

class XParserTest : public PlatformParserTest<XParser> {
protected:
    void SetUp() override
    {
        linkAddress = kX;
        server.pointAt(Host::XMain, kX);
        server.pointAt(Host::XMirrorAPI, kMirror);
    }
    void reply(const QString &path, const QByteArray &json)
    {
        server.serve(kMirror, path, {200, json, {{"Content-Type", "application/json"}}});
    }
    QString canonical(const QString &path) { return server.origin(kX) + path; }
};

TEST_F(XParserTest, ReadsAFullStatusWithEveryMediaKind)
{
    reply("/someone/status/123", R"({"tweet": {
        "text": "hello", "created_timestamp": "1700000000",
        "author": {"name": "Some One", "screen_name": "SomeOne", "avatar_url": "http://pbs.test/a.jpg"},
        "media": {"all": [
            {"type": "photo", "url": "http://pbs.test/1.jpg", "width": 1200, "height": 800},
            {"type": "video", "thumbnail_url": "//pbs.test/v.jpg", "url": "https://video.test/v.mp4",
             "width": 1280, "height": 720, "duration": 12.5},
            {"type": "gif", "thumbnail_url": "https://pbs.test/g.jpg"},
            {"type": "Photo", "url": "https://pbs.test/capital.jpg"},
            {"type": "audio", "url": "https://pbs.test/a.m4a"},
            {"url": "https://pbs.test/untyped.jpg"},
            {"type": "photo", "url": {"not": "a link"}},
            "not an object"]}}})");
    const ParsedPost post = parse("/someone/status/123/photo/1");

    EXPECT_EQ(server.requests().last().header("User-Agent"), QList<QByteArray>{"Kepsel/1.0"});
    EXPECT_EQ(post.platform, Platform::x);
    EXPECT_EQ(post.canonicalURL, canonical("/SomeOne/status/123"));
    EXPECT_EQ(post.title, QString());
    EXPECT_EQ(post.content, QStringLiteral("hello"));
    EXPECT_EQ(post.authorName, QStringLiteral("Some One"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("http://pbs.test/a.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://pbs.test/1.jpg", std::nullopt, 1200, 800),
                     ParsedMedia(MediaKind::video, "https://pbs.test/v.jpg",
                                 QStringLiteral("https://video.test/v.mp4"), 1280, 720, 12.5),
                     ParsedMedia(MediaKind::video, "https://pbs.test/g.jpg")}));
}

TEST_F(XParserTest, ABareStatusAsksForUserIAndKeepsItWithoutAScreenName)
{
    reply("/i/status/42",
          R"({"tweet": {"text": "only text", "created_timestamp": 1e300, "media": {"all": 5}}})");
    const ParsedPost post = parse("/status/42");
    EXPECT_EQ(post.canonicalURL, canonical("/i/status/42"));
    EXPECT_EQ(post.content, QStringLiteral("only text"));
    EXPECT_FALSE(post.publishedAt);
    EXPECT_TRUE(post.media.isEmpty());
}

TEST_F(XParserTest, ALinkWithoutAUsableStatusIdFailsBeforeAnyRequest)
{
    for (const char *path : {"/someone/status", "/someone/status/12a", "/someone/status/%3F1",
                             "/someone/status/123456789012345678901"})
        EXPECT_EQ(failure(path).token(), QStringLiteral("status id")) << path;
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(XParserTest, OddCharactersInTheUserStayInsideThePath)
{
    reply("/a%3Fb%23c/status/7", R"({"tweet": {"text": "odd"}})");
    EXPECT_EQ(parse("/a%3Fb%23c/status/7").content, QStringLiteral("odd"));
}

TEST_F(XParserTest, AReplyWithoutTheStatusOrNotJSONFails)
{
    for (const QByteArray &body : {QByteArray(R"({"code": 404, "tweet": null})"), QByteArray(R"({})"),
                                   QByteArray(R"([1, 2])"), QByteArray("\"tweet\"")}) {
        reply("/u/status/1", body);
        EXPECT_EQ(failure("/u/status/1").token(), QStringLiteral("fxtwitter")) << body.constData();
    }
    reply("/u/status/1", R"({"tweet": {"text": "cut)");
    EXPECT_THROW(TestAsync::waitFor(parseTask("/u/status/1")), JSONError);
    server.serve(kMirror, "/u/status/1", {404, "{}"});
    EXPECT_EQ(failure("/u/status/1").status(), 404);
}

TEST_F(XParserTest, TheRegistryGivesOnlyStatusLinksOfXHostsToTheParser)
{
    HostTable::clearOverrides();
    for (const char *link : {"https://x.com/a/status/1", "https://twitter.com/a/status/1?s=20",
                             "https://mobile.x.com/a/status/1", "https://fxtwitter.com/a/status/1/video/1"})
        EXPECT_TRUE(isChosenFor<XParser>(link)) << link;
    for (const char *link : {"https://x.com/a", "https://x.com/search?q=status",
                             "https://example.org/a/status/1", "https://x.com/a/STATUS/1"})
        EXPECT_FALSE(isChosenFor<XParser>(link)) << link;
}

} // namespace
