#include "BilibiliParser.h"
#include "PlatformParserTest.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.7");
const QString kAPI = QStringLiteral("127.0.0.8");
const QString kShort = QStringLiteral("127.0.0.9");
const QString kVideo = QStringLiteral("/video/BV1xx411c7mD");

const QByteArray kView = R"({"code": 0, "data": {"bvid": "BV1xx411c7mD", "aid": 170001, "cid": 100,
    "title": "A video", "desc": "About it", "owner": {"name": "Uploader", "face": "https://i0.test/face.jpg"},
    "pubdate": 1700000000, "pic": "http://i0.test/c.jpg", "dimension": {"width": 1920, "height": 1080},
    "duration": 65, "pages": [{"cid": 101}, {"cid": 102}, {"cid": 103}, {"cid": "104"}, {"cid": 105}]}})";

class BilibiliParserTest : public PlatformParserTest<BilibiliParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        for (Host role : {Host::BilibiliMain, Host::BilibiliWeb})
            server.pointAt(role, kSite);
        server.pointAt(Host::BilibiliAPI, kAPI);
        server.pointAt(Host::BilibiliShort, kShort);
        answer("/x/web-interface/view", kView);
        answer("/x/player/playurl",
               R"({"code": 0, "data": {"durl": [{"url": "http://up.test/v.mp4", "length": 900}]}})");
    }
    void answer(const QString &path, const QByteArray &json, int status = 200)
    {
        server.serve(kAPI, path, {status, json, {}});
    }
    const ParsedMedia cover =
        ParsedMedia(MediaKind::image, "https://i0.test/c.jpg", std::nullopt, 1920, 1080);
};

TEST_F(BilibiliParserTest, AVideoWithTheMP4OfTheChosenPage)
{
    const ParsedPost post = parse(kVideo + "/?p=3&from=av12");

    EXPECT_EQ(lastTarget(), "/x/player/playurl?avid=170001&cid=103&qn=64");
    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + kVideo);
    EXPECT_EQ(QStringList({post.title, post.content, post.authorName, post.authorAvatar}),
              QStringList({"A video", "About it", "Uploader", "https://i0.test/face.jpg"}));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::video, cover.url,
                                            QStringLiteral("https://up.test/v.mp4"), 1920, 1080, 0.9)});
}

TEST_F(BilibiliParserTest, WithoutAPlayableFileThePostKeepsItsCover)
{
    for (const char *player : {R"({"code": -404, "data": {"durl": [{"url": "https://up.test/v.mp4"}]}})", "<html>"}) {
        answer("/x/player/playurl", player);
        EXPECT_EQ(parse(kVideo).media, QList{cover}) << player;
    }
    answer("/x/player/playurl", R"({"code": 0, "data": {"durl": [{"url": "https://up.test/v.mp4"}]}})");
    EXPECT_EQ(parse(kVideo).media.first().duration, 65) << "the view's duration stands in";

    answer("/x/web-interface/view",
           R"({"data": {"aid": 1e30, "cid": 4.5, "pic": "//i0.test/c.jpg", "pages": 1}})");
    EXPECT_EQ(parse("/video/av170001").media, QList{ParsedMedia(MediaKind::image, "https://i0.test/c.jpg")});
    EXPECT_EQ(lastTarget(), "/x/web-interface/view?aid=170001") << "no player request without whole ids";
    answer("/x/web-interface/view", R"({"data": {"aid": 1, "cid": 2}})");
    answer("/x/player/playurl", "{}");
    EXPECT_TRUE(parse(kVideo).media.isEmpty()) << "no cover link, no media item";
}

TEST_F(BilibiliParserTest, LinksAndViewsThatCannotBeReadFail)
{
    EXPECT_EQ(failure("/video/BV123").kind(), ParseError::Kind::notSupported);
    EXPECT_TRUE(server.requests().isEmpty());
    answer("/x/web-interface/view", R"({"code": -404, "message": "啥都木有", "data": null})");
    EXPECT_EQ(failure(kVideo).token(), QStringLiteral("view api: 啥都木有"));
    answer("/x/web-interface/view", kView.left(200));
    EXPECT_THROW(TestAsync::waitFor(parseTask(kVideo)), JSONError);
}

TEST_F(BilibiliParserTest, ShortLinksAreResolvedBeforeTheIdIsSought)
{
    server.redirect(kShort, "/xYz", server.origin(kSite) + kVideo + "?p=2");
    server.page(kSite, kVideo, "<html></html>");
    linkAddress = kShort;
    parse("/xYz");
    EXPECT_TRUE(lastTarget().contains("&cid=102&"));
    EXPECT_EQ(failure("/gone").status(), 404);

    HostTable::clearOverrides();
    EXPECT_EQ(chosenCount<BilibiliParser>({"https://b23.tv/xYz", "https://m.bilibili.com/video/av1?p=2",
                                           "https://bilibili.com.example.org/video/BV1xx411c7mD"}),
              2);
}

} // namespace
