#include "BilibiliParser.h"
#include "PlatformParserTest.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.7");
const QString kAPI = QStringLiteral("127.0.0.8");
const QString kShort = QStringLiteral("127.0.0.9");

const QByteArray kView = R"({"code": 0, "message": "0", "data": {
    "bvid": "BV1xx411c7mD", "aid": 170001, "cid": 100, "title": "A video", "desc": "About it",
    "owner": {"name": "Uploader", "face": "http://i0.test/face.jpg"}, "pubdate": 1700000000,
    "pic": "http://i0.test/cover.jpg", "dimension": {"width": 1920, "height": 1080}, "duration": 65,
    "pages": [{"cid": 101}, {"cid": 102}, {"cid": 103}, {"cid": "104"}, {"cid": 105}]}})";

const QByteArray kPlayer =
    R"({"code": 0, "data": {"durl": [{"url": "http://upos.test/v.mp4?e=1", "length": 900}, {"url": "x"}]}})";

class BilibiliParserTest : public PlatformParserTest<BilibiliParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        server.pointAt(Host::BilibiliMain, kSite);
        server.pointAt(Host::BilibiliWeb, kSite);
        server.pointAt(Host::BilibiliAPI, kAPI);
        server.pointAt(Host::BilibiliShort, kShort);
        answerView(kView);
        answerPlayer(kPlayer);
    }
    void answerView(const QByteArray &json, int status = 200)
    {
        server.serve(kAPI, "/x/web-interface/view", {status, json});
    }
    void answerPlayer(const QByteArray &json, int status = 200)
    {
        server.serve(kAPI, "/x/player/playurl", {status, json});
    }
    ParsedMedia cover() const
    {
        return ParsedMedia(MediaKind::image, "https://i0.test/cover.jpg", std::nullopt, 1920, 1080);
    }
};

TEST_F(BilibiliParserTest, AVideoWithAnMP4OfTheChosenPage)
{
    const ParsedPost post = parse("/video/BV1xx411c7mD/?p=3&av12");

    EXPECT_EQ(targets(), (QList<QByteArray>{"/x/web-interface/view?bvid=BV1xx411c7mD",
                                            "/x/player/playurl?avid=170001&cid=103&qn=64"}));
    for (const FixtureServer::Request &request : server.requests()) {
        EXPECT_EQ(request.header("Referer"), QList{(server.origin(kSite) + "/").toUtf8()});
        EXPECT_EQ(request.header("User-Agent"), QList{UserAgent::desktop.toUtf8()});
    }
    EXPECT_EQ(post.platform, Platform::bilibili);
    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/video/BV1xx411c7mD");
    EXPECT_EQ(post.title, QStringLiteral("A video"));
    EXPECT_EQ(post.content, QStringLiteral("About it"));
    EXPECT_EQ(post.authorName, QStringLiteral("Uploader"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("http://i0.test/face.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::video, "https://i0.test/cover.jpg",
                                            QStringLiteral("https://upos.test/v.mp4?e=1"), 1920, 1080, 0.9)});
}

TEST_F(BilibiliParserTest, ThePageNumberChoosesTheContentId)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "101"},
        {"?p=abc", "101"},
        {"?p=4", "104"},
        {"?p=0", "100"},
        {"?p=-1", "100"},
        {"?p=6", "100"},
        {"?p=99999999999999999999", "101"},
    };
    for (const auto &[query, cid] : cases) {
        parse(QStringLiteral("/video/BV1xx411c7mD") + QLatin1String(query));
        EXPECT_TRUE(targets().last().contains("&cid=" + QByteArray(cid) + "&")) << query;
    }
}

TEST_F(BilibiliParserTest, WithoutAPlayableFileThePostKeepsItsCover)
{
    for (const QByteArray &player :
         {QByteArray(R"({"code": -404, "data": {"durl": [{"url": "https://upos.test/v.mp4"}]}})"),
          QByteArray(R"({"code": "0.5"})"), QByteArray(R"({"code": 0, "data": {"durl": []}})"),
          QByteArray(R"({"code": 0, "data": {"durl": [{"url": null}]}})"), QByteArray("<html>")}) {
        answerPlayer(player);
        EXPECT_EQ(parse("/video/BV1xx411c7mD").media, QList{cover()}) << player.constData();
    }
    answerPlayer(kPlayer, 500);
    EXPECT_EQ(parse("/video/BV1xx411c7mD").media, QList{cover()});

    answerPlayer(R"({"code": 0, "data": {"durl": [{"url": "https://upos.test/v.mp4"}]}})");
    EXPECT_EQ(parse("/video/BV1xx411c7mD").media.first().duration, 65) << "the view's duration stands in";
}

TEST_F(BilibiliParserTest, AViewWithoutUsableIdsAsksNoPlayer)
{
    answerView(R"({"data": {"aid": 1e30, "cid": 4.5, "pic": "//i0.test/c.jpg", "pages": "none",
                            "title": ["not text"], "pubdate": "soon"}})");
    const ParsedPost post = parse("/video/av170001");
    EXPECT_EQ(targets(), QList<QByteArray>{"/x/web-interface/view?aid=170001"});
    EXPECT_EQ(post.title, QString());
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://i0.test/c.jpg")});
}

TEST_F(BilibiliParserTest, LinksAndViewsThatCannotBeReadFail)
{
    EXPECT_EQ(failure("/video/BV123").kind(), ParseError::Kind::notSupported);
    EXPECT_EQ(failure("/video/av").kind(), ParseError::Kind::notSupported);
    EXPECT_TRUE(server.requests().isEmpty());

    answerView(R"({"code": -404, "message": "啥都木有", "data": null})");
    EXPECT_EQ(failure("/video/BV1xx411c7mD").token(), QStringLiteral("view api: 啥都木有"));
    answerView(R"({"code": -404})");
    EXPECT_EQ(failure("/video/BV1xx411c7mD").token(), QStringLiteral("view api: "));
    answerView(kView, 412);
    EXPECT_EQ(failure("/video/BV1xx411c7mD").status(), 412);
    answerView(kView.left(kView.size() / 2));
    EXPECT_THROW(TestAsync::waitFor(parseTask("/video/BV1xx411c7mD")), JSONError);
}

TEST_F(BilibiliParserTest, AShortLinkIsResolvedBeforeTheIdIsSought)
{
    server.redirect(kShort, "/xYz", server.origin(kSite) + "/video/BV1xx411c7mD?p=2");
    server.page(kSite, "/video/BV1xx411c7mD", "<html></html>");
    linkAddress = kShort;
    parse("/xYz");
    EXPECT_TRUE(targets().last().contains("&cid=102&"));
    EXPECT_EQ(failure("/gone").status(), 404);
}

TEST_F(BilibiliParserTest, TheRegistryGivesEveryBilibiliLinkToTheParser)
{
    HostTable::clearOverrides();
    for (const char *link :
         {"https://www.bilibili.com/video/BV1xx411c7mD", "https://m.bilibili.com/video/av1?p=2",
          "https://b23.tv/xYz", "https://space.bilibili.com/1"})
        EXPECT_TRUE(isChosenFor<BilibiliParser>(link)) << link;
    EXPECT_FALSE(isChosenFor<BilibiliParser>("https://bilibili.com.example.org/video/BV1xx411c7mD"));
}

} // namespace
