#include "CookieVault.h"
#include "PlatformParserTest.h"
#include "XiaohongshuParser.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kElsewhere = QStringLiteral("127.0.0.9");

QByteArray statePage(const QByteArray &state)
{
    return "<script>window.__INITIAL_STATE__=" + state + ";</script>";
}

QByteArray desktopPage(const QByteArray &id, const QByteArray &note)
{
    return statePage(R"({"note":{"noteDetailMap":{")" + id + R"(":{"note":)" + note + "}}}}");
}

QByteArray mobilePage(const QByteArray &note)
{
    return statePage(R"({"noteData":{"data":{"noteData":)" + note + "}}}");
}

class XiaohongshuParserTest : public PlatformParserTest<XiaohongshuParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        server.pointAt(Host::XiaohongshuMain, kSite);
    }
    void storeCookie() { CookieVault::set(QStringLiteral("web_session=1"), Platform::xiaohongshu); }
    QByteArray target(qsizetype fromEnd) const
    {
        return server.requests().at(server.requests().size() - fromEnd).target;
    }
    // Sends `path` to the sign-in wall, which names `next` as the way back.
    void wall(const QString &path, const QUrl &next)
    {
        server.page(kSite, "/website-login/login", "请登录");
        server.redirect(kSite, path,
                        "/website-login/login?redirectPath=" + QUrl::toPercentEncoding(next.toString()));
    }
};

TEST_F(XiaohongshuParserTest, ADesktopNoteGivesTextAuthorTimeAndImagesWithTheirStreams)
{
    storeCookie();
    server.page(kSite, "/explore/abc", desktopPage("abc", R"({"noteId": "abc", "title": "标题",
        "desc": " 好看[话题]#春天[话题]#[笑哭R]\n", "time": 1700000000123,
        "user": {"nickName": "ignored", "nickname": "小红", "avatar": "https://img/a.jpg"}, "imageList": [
            {"urlDefault": "http://img/1.jpg", "width": 1080, "height": 1440, "livePhoto": true,
             "stream": {"h264": [{"masterUrl": "//v/1.mp4"}]}},
            {"url": "https://img/2.jpg", "livePhoto": false, "stream": {"h264": [{"masterUrl": "https://v/2.mp4"}]}},
            {"infoList": [{"url": "https://img/3.jpg"}], "livePhoto": true}, {"width": 5}, "x"]})"));
    const ParsedPost post = parse("/explore/abc?xsec=1");

    EXPECT_EQ(post.canonicalURL, server.url(kSite, "/explore/abc?xsec=1").toString());
    EXPECT_EQ(post.content, QStringLiteral("好看 春天"));
    EXPECT_EQ(post.authorName, QStringLiteral("小红"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::livePhoto, "https://img/1.jpg", QStringLiteral("https://v/1.mp4"),
                                 1080, 1440),
                     ParsedMedia(MediaKind::image, "https://img/2.jpg", QStringLiteral("https://v/2.mp4")),
                     ParsedMedia(MediaKind::image, "https://img/3.jpg")}));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().at(0).header("Cookie"), QList<QByteArray>{"web_session=1"});
}

TEST_F(XiaohongshuParserTest, AVideoLeadsAndALoneCoverIsNotRepeated)
{
    const QByteArray video = R"({"noteId": "v", "type": "video", "video": {"capa": {"duration": 12.5},
        "media": {"stream": {"h264": [], "h265": [{"masterUrl": "https://v/265.mp4"}]}}}, "imageList": )";
    const QByteArray image = R"({"url": "https://c.jpg", "width": 720})";
    server.page(kSite, "/explore/v1", desktopPage("v1", video + "[" + image + "]}"));
    server.page(kSite, "/explore/v3",
                desktopPage("v3", video + "[" + image + "," + image + "," + image + "]}"));
    const ParsedMedia expected(MediaKind::video, "https://c.jpg", QStringLiteral("https://v/265.mp4"), 720,
                               std::nullopt, 12.5);
    EXPECT_EQ(parse("/explore/v1").media, QList{expected});
    EXPECT_EQ(parse("/explore/v3").media.size(), 4);
}

TEST_F(XiaohongshuParserTest, TheMobilePageStandsInAndTheSignInWallIsLeftOnlyForXiaohongshu)
{
    storeCookie();
    server.redirect(kSite, "/discovery/item/m1", "/explore/m1?from=share");
    server.page(kSite, "/explore/m1", mobilePage(R"({"imageList": [{"url": "https://img/m.jpg"}]})"));
    EXPECT_EQ(parse("/discovery/item/m1").canonicalURL,
              server.url(kSite, "/explore/m1?from=share").toString());

    wall("/a", server.url(kSite, "/explore/m1"));
    EXPECT_EQ(parse("/a").media.size(), 1);
    EXPECT_EQ(target(1), "/explore/m1");

    // The cookie would go along: another host's link is not followed, the given one is asked again.
    server.page(kElsewhere, "/steal", mobilePage(R"({"noteId": "x"})"));
    wall("/b", server.url(kElsewhere, "/steal"));
    EXPECT_EQ(failure("/b").kind(), ParseError::Kind::structureChanged);
    EXPECT_EQ(target(2), "/b");
    for (const auto &request : server.requests())
        EXPECT_NE(request.address, kElsewhere);
}

TEST_F(XiaohongshuParserTest, WithoutANoteTheErrorDependsOnTheStoredCookie)
{
    server.redirect(kSite, "/gone", "/404/sec");
    server.page(kSite, "/404/sec", "");
    const QList<QByteArray> noNote = {desktopPage("a", "null"), statePage(R"({"note":{"a":[undefined]}})"),
                                      statePage(R"({"note":{"noteDetailMap":{)"),
                                      "<script>window.__INITIAL_STATE__={}", statePage("[1]")};
    for (qsizetype i = 0; i < noNote.size(); ++i)
        server.page(kSite, QStringLiteral("/explore/%1").arg(i), noNote.at(i));

    EXPECT_EQ(failure("/gone").kind(), ParseError::Kind::loginRequired);
    EXPECT_EQ(failure("/explore/0").kind(), ParseError::Kind::loginRequired);
    storeCookie();
    EXPECT_EQ(failure("/gone").kind(), ParseError::Kind::loginRequired);
    for (qsizetype i = 0; i < noNote.size(); ++i)
        EXPECT_EQ(failure(QStringLiteral("/explore/%1").arg(i)).token(), QStringLiteral("noteDetailMap"))
            << i;

    // A note without id and images fails without the mobile page; wrong types only empty the post.
    server.page(kSite, "/explore/bare", desktopPage("bare", R"({"title": "t"})"));
    EXPECT_EQ(failure("/explore/bare").kind(), ParseError::Kind::structureChanged);
    EXPECT_EQ(target(1), "/explore/bare");
    EXPECT_EQ(target(2), "/explore/4");
    server.page(kSite, "/explore/odd", desktopPage("odd", R"({"noteId": [], "imageList": 7, "user": "x",
        "time": "soon", "type": "video", "video": []})"));
    EXPECT_EQ(parse("/explore/odd").media, QList{ParsedMedia(MediaKind::video, QString())});
}

TEST_F(XiaohongshuParserTest, TheSignInCookieFollowsAShortLinkToTheNotePageAndNowhereElse)
{
    const QString shortLinks = QStringLiteral("127.0.0.3");
    server.pointAt(Host::XiaohongshuShortCom, shortLinks);
    linkAddress = shortLinks;
    storeCookie();
    server.redirect(shortLinks, "/n1", server.url(kSite, "/explore/abc").toString());
    server.page(kSite, "/explore/abc", desktopPage("abc", R"({"noteId": "abc", "title": "标题"})"));
    server.redirect(shortLinks, "/n2", server.url(kElsewhere, "/explore/abc").toString());
    server.page(kElsewhere, "/explore/abc", desktopPage("abc", R"({"noteId": "abc"})"));

    EXPECT_EQ(parse("/n1").title, QStringLiteral("标题"));
    parse("/n2");
    QHash<QString, QList<QByteArray>> cookies;
    for (const auto &request : server.requests())
        cookies[request.address] += request.header("Cookie");
    const QList<QByteArray> sent{"web_session=1"};
    EXPECT_EQ(cookies.value(shortLinks), sent + sent);
    EXPECT_EQ(cookies.value(kSite), sent);
    EXPECT_TRUE(cookies.value(kElsewhere).isEmpty());
}

} // namespace
