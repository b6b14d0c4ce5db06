#include "CookieVault.h"
#include "FixtureServer.h"
#include "ParseError.h"
#include "TestHome.h"
#include "WaitFor.h"
#include "XiaohongshuParser.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.2");
const QString kElsewhere = QStringLiteral("127.0.0.9");

QByteArray statePage(const QByteArray &state)
{
    return "<html><script>window.__INITIAL_STATE__=" + state + ";</script><body></body></html>";
}

QByteArray desktopState(const QByteArray &id, const QByteArray &note)
{
    return statePage(R"({"note":{"noteDetailMap":{")" + id + R"(":{"note":)" + note + "}}}}");
}

QByteArray mobileState(const QByteArray &note)
{
    return statePage(R"({"noteData":{"data":{"noteData":)" + note + "}}}");
}

class XiaohongshuParserTest : public HomeTest {
protected:
    XiaohongshuParserTest()
    {
        server.pointAt(Host::XiaohongshuMain, kSite);
        server.pointAt(Host::XiaohongshuWeb, kSite);
    }
    QCoro::Task<ParsedPost> parseTask(const QString &path)
    {
        return XiaohongshuParser().parse(server.url(kSite, path), HTTPClient());
    }
    ParsedPost parse(const QString &path) { return TestAsync::waitFor(parseTask(path)); }
    ParseError failure(const QString &path) { return TestAsync::failureOf<ParseError>(parseTask(path)); }
    QList<QByteArray> agents() const
    {
        QList<QByteArray> sent;
        for (const auto &request : server.requests())
            sent += request.header("User-Agent");
        return sent;
    }

    FixtureServer server;
};

TEST_F(XiaohongshuParserTest, ADesktopNoteGivesTextAuthorTimeAndImagesWithTheirStreams)
{
    CookieVault::set(QStringLiteral("web_session=1"), Platform::xiaohongshu);
    server.page(kSite, "/explore/abc", desktopState("abc", R"({
        "noteId": "abc", "title": "标题", "desc": " 好看[话题]#春天[话题]#[笑哭R]\n", "time": 1700000000123,
        "user": {"nickName": "ignored", "nickname": "小红", "avatar": "//img/a.jpg"},
        "imageList": [
            {"urlDefault": "http://img/1.jpg", "width": 1080, "height": 1440, "livePhoto": true,
             "stream": {"h264": [{"masterUrl": "http://v/1.mp4"}]}},
            {"url": "https://img/2.jpg", "livePhoto": false, "stream": {"h264": [{"masterUrl": "https://v/2.mp4"}]}},
            {"infoList": [{"url": "https://img/3.jpg"}], "livePhoto": true},
            {"width": 5}, "not an element"]})"));
    const ParsedPost post = parse("/explore/abc?xsec=1");

    EXPECT_EQ(post.canonicalURL, server.url(kSite, "/explore/abc?xsec=1").toString());
    EXPECT_EQ(post.title, QStringLiteral("标题"));
    EXPECT_EQ(post.content, QStringLiteral("好看 春天"));
    EXPECT_EQ(post.authorName, QStringLiteral("小红"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("//img/a.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::livePhoto, "https://img/1.jpg", QStringLiteral("https://v/1.mp4"),
                                 1080, 1440),
                     ParsedMedia(MediaKind::image, "https://img/2.jpg", QStringLiteral("https://v/2.mp4")),
                     ParsedMedia(MediaKind::image, "https://img/3.jpg")}));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().at(0).header("Cookie"), QList<QByteArray>{"web_session=1"});
    EXPECT_EQ(agents(), QList{UserAgent::desktop.toUtf8()});

    // A map keyed otherwise still gives the note that names itself.
    server.page(kSite, "/explore/other", desktopState("zzz", R"({"noteId": "zzz", "title": "其他"})"));
    EXPECT_EQ(parse("/explore/other").title, QStringLiteral("其他"));
}

TEST_F(XiaohongshuParserTest, VideoNotesLeadWithTheVideoAndRepeatNoLoneCover)
{
    const QByteArray video = R"("type": "video", "video": {"capa": {"duration": 12.5},
        "media": {"stream": {"h264": [], "h265": [{"masterUrl": "https://v/265.mp4"}]}}})";
    server.page(kSite, "/explore/v1", desktopState("v1", R"({"noteId": "v1", )" + video + R"(,
        "imageList": [{"urlDefault": "https://img/c.jpg", "width": 720, "height": 1280}]})"));
    EXPECT_EQ(parse("/explore/v1").media,
              QList{ParsedMedia(MediaKind::video, "https://img/c.jpg", QStringLiteral("https://v/265.mp4"),
                                720, 1280, 12.5)});

    server.page(kSite, "/explore/v3", desktopState("v3", R"({"noteId": "v3", )" + video + R"(,
        "imageList": [{"urlDefault": "https://img/1.jpg"}, {"urlDefault": "https://img/2.jpg"},
                      {"urlDefault": "https://img/3.jpg"}]})"));
    const QList<ParsedMedia> media = parse("/explore/v3").media;
    ASSERT_EQ(media.size(), 4);
    EXPECT_EQ(media.at(0).kind, MediaKind::video);
    EXPECT_EQ(media.at(1), ParsedMedia(MediaKind::image, "https://img/1.jpg"));
}

TEST_F(XiaohongshuParserTest, WithoutADesktopNoteTheMobilePageIsAskedWithThePhoneAgent)
{
    server.redirect(kSite, "/discovery/item/m1", "/explore/m1?from=share");
    server.page(kSite, "/explore/m1", mobileState(R"({"noteId": "m1", "title": "手机版"})"));
    const ParsedPost post = parse("/discovery/item/m1");
    EXPECT_EQ(post.title, QStringLiteral("手机版"));
    EXPECT_EQ(post.canonicalURL, server.url(kSite, "/explore/m1?from=share").toString());
    EXPECT_EQ(agents(),
              (QList{UserAgent::desktop.toUtf8(), UserAgent::desktop.toUtf8(), UserAgent::iPhone.toUtf8()}));
}

TEST_F(XiaohongshuParserTest, TheSignInWallIsLeftOnlyForAXiaohongshuLinkAndTheCookieStaysHome)
{
    CookieVault::set(QStringLiteral("web_session=1"), Platform::xiaohongshu);
    server.page(kSite, "/explore/w1", mobileState(R"({"imageList": [{"url": "https://img/w.jpg"}]})"));
    server.page(kSite, "/website-login/login", "<html>请登录</html>");
    const QString wall = QStringLiteral("/website-login/login?redirectPath=");
    server.redirect(kSite, "/a", wall + QUrl::toPercentEncoding(server.url(kSite, "/explore/w1").toString()));
    EXPECT_EQ(parse("/a").media.size(), 1);
    EXPECT_EQ(server.requests().last().target, "/explore/w1");

    // Elsewhere: the wall's own link is not followed; the given link is asked again.
    server.page(kElsewhere, "/steal", mobileState(R"({"noteId": "x"})"));
    server.redirect(kSite, "/b", wall + QUrl::toPercentEncoding(server.url(kElsewhere, "/steal").toString()));
    EXPECT_EQ(failure("/b").kind(), ParseError::Kind::structureChanged);
    EXPECT_EQ(server.requests().at(server.requests().size() - 2).target, "/b");
    for (const auto &request : server.requests())
        EXPECT_NE(request.address, kElsewhere);

    server.redirect(kSite, "/c", "/website-login/login");
    EXPECT_EQ(failure("/c").kind(), ParseError::Kind::structureChanged);
    EXPECT_EQ(server.requests().at(server.requests().size() - 2).target, "/c");
}

TEST_F(XiaohongshuParserTest, NoNoteIsALoginFailureUnlessACookieIsStored)
{
    server.redirect(kSite, "/gone", "/404/sec?source=x");
    server.page(kSite, "/404/sec", "");
    server.page(kSite, "/explore/empty", desktopState("empty", "null"));

    EXPECT_EQ(failure("/gone").kind(), ParseError::Kind::loginRequired);
    EXPECT_EQ(failure("/explore/empty").kind(), ParseError::Kind::loginRequired);
    CookieVault::set(QStringLiteral("web_session=1"), Platform::xiaohongshu);
    EXPECT_EQ(failure("/gone").kind(), ParseError::Kind::loginRequired);
    const ParseError changed = failure("/explore/empty");
    EXPECT_EQ(changed.kind(), ParseError::Kind::structureChanged);
    EXPECT_TRUE(changed.message().endsWith(QStringLiteral("noteDetailMap")));

    // A note without id or images fails at once, without the mobile page.
    const qsizetype asked = server.requests().size();
    server.page(kSite, "/explore/bare", desktopState("bare", R"({"title": "t"})"));
    EXPECT_EQ(failure("/explore/bare").kind(), ParseError::Kind::structureChanged);
    EXPECT_EQ(server.requests().size(), asked + 1);
}

TEST_F(XiaohongshuParserTest, BrokenStateScriptsEndInTheStructureError)
{
    CookieVault::set(QStringLiteral("web_session=1"), Platform::xiaohongshu);
    const QList<QByteArray> pages = {
        "<script>window.__INITIAL_STATE__={\"note\":{\"a\":[undefined]}}</script>",
        "<script>window.__INITIAL_STATE__={\"note\":{\"noteDetailMap\":{</script>",
        "<script>window.__INITIAL_STATE__={\"note\":{}}",
        "<script>window.__INITIAL_STATE__=[1,2]</script>",
        R"(<script>window.__INITIAL_STATE__={"note":{"noteDetailMap":{"k":{"note":{"noteId":[],"imageList":7,
           "user":"x","time":"soon","type":"video","video":[]}}}}}</script>)",
    };
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString path = QStringLiteral("/explore/b%1").arg(i);
        server.page(kSite, path, pages.at(i));
        if (i < 4)
            EXPECT_EQ(failure(path).kind(), ParseError::Kind::structureChanged) << i;
        else
            EXPECT_EQ(parse(path).media, QList{ParsedMedia(MediaKind::video, QString())}) << i;
    }
}

TEST(XiaohongshuTopicsTest, TopicMarksBecomeSpacesAndShortRCodesVanish)
{
    EXPECT_EQ(XiaohongshuParser::cleanTopics(QStringLiteral("\n 旅行[话题]#日落[话题]# [哭惹R][赞R]好 \n")),
              QStringLiteral("旅行 日落  好"));
    EXPECT_EQ(XiaohongshuParser::cleanTopics(QStringLiteral("[一二三四五六R][一二三四五六七R][话题]")),
              QStringLiteral("[一二三四五六七R][话题]"));
}

} // namespace
