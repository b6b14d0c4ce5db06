#include "CookieVault.h"
#include "DouyinParser.h"
#include "PlatformParserTest.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.3");

QByteArray routerPage(const QByteArray &item)
{
    return R"(<script>window._ROUTER_DATA = {"loaderData":{"a_layout":{"x":1},"video_(id)/page":
           {"videoInfoRes":{"item_list":[)" +
           item + "]}}}};</script>";
}

class DouyinParserTest : public PlatformParserTest<DouyinParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        for (Host role : {Host::DouyinMain, Host::DouyinWeb, Host::DouyinShare, Host::DouyinSharePage})
            server.pointAt(role, kSite);
    }
};

TEST_F(DouyinParserTest, AShareLinkIsResolvedToItsVideoAndReadFromTheSharePage)
{
    CookieVault::set(QStringLiteral("ttwid=1"), Platform::douyin);
    server.redirect(kSite, "/AbC12/", "/video/7301?previous_page=app");
    server.page(kSite, "/video/7301", "app page");
    server.page(kSite, "/share/video/7301/", routerPage(R"({"desc": "跳舞", "create_time": 1700000000,
        "author": {"nickname": "抖友", "avatar_thumb": {"url_list": ["https://p/a.jpeg"]}},
        "video": {"play_addr": {"url_list": ["http://v/playwm/?video_id=1&ratio=720p"]},
                  "cover": {"url_list": ["//p/cover.jpeg"]}, "width": 720, "height": 1280, "duration": 15300}})"));
    const ParsedPost post = parse("/AbC12/");

    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/video/7301");
    EXPECT_EQ(post.content, QStringLiteral("跳舞"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("https://p/a.jpeg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media,
              QList{ParsedMedia(MediaKind::video, "https://p/cover.jpeg",
                                QStringLiteral("https://v/play/?video_id=1&ratio=720p"), 720, 1280, 15.3)});
    EXPECT_EQ(server.requests().last().header("Cookie"), QList<QByteArray>{"ttwid=1"});
}

TEST_F(DouyinParserTest, SlidesAndNotesAreReadAsNotesWithTheirLeastWebPImages)
{
    server.page(kSite, "/slides/42", "");
    server.page(kSite, "/share/note/42/", routerPage(R"({"images": [
        {"url_list": ["https://p/1.webp", null, "https://p/1.jpeg"], "width": 1080, "height": 1920},
        {"url_list": ["https://p/2.webp?x", "https://p/2b.webp"]},
        {"url_list": []}, {"url_list": "https://p/3.jpeg"}]})"));
    const ParsedPost post = parse("/slides/42");
    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/note/42");
    EXPECT_EQ(post.media, (QList{ParsedMedia(MediaKind::image, "https://p/1.jpeg", std::nullopt, 1080, 1920),
                                 ParsedMedia(MediaKind::image, "https://p/2.webp?x")}));
    EXPECT_TRUE(server.requests().last().header("Cookie").isEmpty());
}

TEST_F(DouyinParserTest, MissingIdRouterDataOrItemNameWhatWasNotFound)
{
    const QList<QByteArray> pages = {"<script>window._ROUTER_DATA = {\"a\":undefined,}</script>",
                                     "<script>window._ROUTER_DATA = {\"loaderData\":{", "<p>gone</p>",
                                     R"(<script>window._ROUTER_DATA = {"loaderData": {"a": {"videoInfoRes":
                                        {"item_list": [null]}}, "b": {"videoInfoRes": {"item_list": {}}}, "c": []}}</script>)"};
    for (qsizetype i = 0; i < pages.size(); ++i) {
        server.page(kSite, QStringLiteral("/video/%1").arg(i), "");
        server.page(kSite, QStringLiteral("/share/video/%1/").arg(i), pages.at(i));
        EXPECT_EQ(failure(QStringLiteral("/video/%1").arg(i)).token(), i < 3 ? "_ROUTER_DATA" : "item_list")
            << i;
    }
    server.page(kSite, "/user/self", "");
    EXPECT_EQ(failure("/user/self").token(), QStringLiteral("aweme id"));
}

} // namespace
