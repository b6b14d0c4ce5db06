#include "CookieVault.h"
#include "NetworkError.h"
#include "PlatformParserTest.h"
#include "WeiboParser.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.4");
const QString kShort = QStringLiteral("127.0.0.6");

class WeiboParserTest : public PlatformParserTest<WeiboParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        for (Host role : {Host::WeiboMain, Host::WeiboCn, Host::WeiboPassport})
            server.pointAt(role, kSite);
        server.pointAt(Host::WeiboShort, kShort);
        visitorAnswer(R"(visitor_gray_callback({"data":{"sub":"_2A25","subp":"0033WrSX"}});)");
    }
    void visitorAnswer(const QByteArray &body) { server.serve(kSite, "/visitor/genvisitor2", {500, body}); }
    void answer(const QString &id, const QByteArray &status)
    {
        server.page(kSite, "/ajax/statuses/show?id=" + id, status, "application/json");
    }
};

TEST_F(WeiboParserTest, APostGivesItsLongTextAuthorTimePicturesAndVideo)
{
    answer("PqR7", R"({"ok": 1, "mblogid": "PqR7", "isLongText": true, "text_raw": "short",
        "created_at": "Tue Nov 05 18:30:00 +0800 2024", "user": {"idstr": "1001", "screen_name": "微博用户",
        "profile_image_url": "https://tva/p.jpg"}, "pic_ids": ["a", "b", "c", "d", 5, {}], "pic_infos": {
            "a": {"largest": {"url": "http://wx/a.jpg", "width": 2000, "height": 1500}, "large": {"url": "x"}},
            "b": {"largest": null, "large": {"url": "https://wx/b.jpg", "width": "800"}, "type": "livephoto",
                  "video": "https://live/b.mov"},
            "c": {"large": {"url": "https://wx/c.jpg"}, "type": "livephoto", "video": 3},
            "d": {"largest": {"width": 1}}, "5": {"large": {"url": "https://wx/5.jpg"}}},
        "page_info": {"object_type": "video", "page_pic": "https://wx/cover.jpg",
                      "media_info": {"mp4_720p_mp4": "", "mp4_hd_url": "http://f/hd.mp4", "duration": 31.5}}})");
    server.page(kSite, "/ajax/statuses/longtext?id=PqR7",
                R"({"data": {"longTextContent": "\u200b The <b>whole</b> text\n\u200b"}})");
    const ParsedPost post = parse("/1001/PqR7/");

    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/1001/PqR7");
    EXPECT_EQ(post.content, QStringLiteral("The <b>whole</b> text"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("https://tva/p.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime(QDate(2024, 11, 5), QTime(10, 30), Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://wx/a.jpg", std::nullopt, 2000, 1500),
                     ParsedMedia(MediaKind::livePhoto, "https://wx/b.jpg",
                                 QStringLiteral("https://live/b.mov"), 800),
                     ParsedMedia(MediaKind::image, "https://wx/c.jpg"),
                     ParsedMedia(MediaKind::image, "https://wx/5.jpg"),
                     ParsedMedia(MediaKind::video, "https://wx/cover.jpg", QStringLiteral("https://f/hd.mp4"),
                                 std::nullopt, std::nullopt, 31.5)}));
}

TEST_F(WeiboParserTest, AVisitorCookieServesOneParseWhenNoCookieIsStored)
{
    answer(
        "9",
        R"({"ok": "1", "user": {"id": 7}, "text": "<p>a &amp; b</p><p>c</p>", "created_at": "2024-11-05"})");
    const ParsedPost post = parse("/status/9");
    EXPECT_EQ(post.content, QStringLiteral("a & b\nc"));
    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/7/9");
    EXPECT_FALSE(post.publishedAt);
    ASSERT_EQ(server.requests().size(), 2);
    const FixtureServer::Request &show = server.requests().last();
    EXPECT_EQ(show.header("Cookie"), QList<QByteArray>{"SUB=_2A25; SUBP=0033WrSX"});
    EXPECT_FALSE(CookieVault::header(Platform::weibo));

    CookieVault::set(QStringLiteral("SUB=mine"), Platform::weibo);
    parse("/status/9");
    EXPECT_EQ(server.requests().last().header("Cookie"), QList<QByteArray>{"SUB=mine"});
}

TEST_F(WeiboParserTest, ATimeThatLeavesTheYear9999InUTCIsNoTime)
{
    CookieVault::set(QStringLiteral("SUB=mine"), Platform::weibo);
    answer("T1", R"({"ok": 1, "user": {"id": 1}, "created_at": "Fri Dec 31 23:30:00 -0100 9999"})");
    EXPECT_FALSE(parse("/1/T1").publishedAt);
    answer("T1", R"({"ok": 1, "user": {"id": 1}, "created_at": "Fri Dec 31 23:30:00 +0100 9999"})");
    EXPECT_EQ(parse("/1/T1").publishedAt, QDateTime(QDate(9999, 12, 31), QTime(22, 30), Qt::UTC));
}

TEST_F(WeiboParserTest, ShareAndShortLinksAreResolvedAndOnlyPlainIdsAreAsked)
{
    CookieVault::set(QStringLiteral("SUB=mine"), Platform::weibo);
    answer("Mx1", R"({"ok": 1, "user": {"idstr": "5"}, "text_raw": "\u200b \u200b"})");
    server.redirect(kSite, "/share/abc", "/5/Mx1");
    server.redirect(kShort, "/Ab9", server.origin(kSite) + "/5/Mx1");
    server.page(kSite, "/5/Mx1", "desktop page");
    EXPECT_EQ(parse("/share/abc").content, QString());
    linkAddress = kShort;
    EXPECT_EQ(parse("/Ab9").canonicalURL, server.origin(kSite) + "/5/Mx1");
    linkAddress = kSite;

    const qsizetype asked = server.requests().size();
    for (const char *path : {"/", "/5/Mx1%26id%3D2", "/5/..%2Fajax", "/5/%E4%B8%AD"})
        EXPECT_EQ(failure(path).token(), QStringLiteral("status id")) << path;
    EXPECT_EQ(server.requests().size(), asked);
}

TEST_F(WeiboParserTest, UnusableAnswersFailWithTheirReasonButTheLongTextNeverDoes)
{
    answer("A0", R"({"ok": 0, "user": {"id": 1}})");
    answer("A1", R"({"ok": 1, "user": null})");
    answer("A2", R"({"ok": 1, "user": {"id": 1}, "mblogid": "../x", "isLongText": true, "text_raw": "kept",
                     "pic_ids": "a", "page_info": {"object_type": "video", "media_info": []}})");
    server.page(kSite, "/ajax/statuses/longtext?id=A2", R"({"data": {"longTextContent": ""}})");
    EXPECT_EQ(failure("/1/A0").token(), QStringLiteral("statuses/show"));
    EXPECT_EQ(failure("/1/A1").token(), QStringLiteral("statuses/show"));
    const ParsedPost post = parse("/1/A2");
    EXPECT_EQ(post.content, QStringLiteral("kept"));
    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/1/A2");
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::video, QString())});

    for (const QByteArray &body : {QByteArray(R"(cb({"data":{"sub":"s"}}))"), QByteArray("})({\"data\":1")}) {
        visitorAnswer(body);
        EXPECT_EQ(failure("/1/A0").token(), QStringLiteral("weibo visitor"));
    }
    server.serve(kSite, "/visitor/genvisitor2", {200, {}, {}, {}, true});
    EXPECT_THROW(TestAsync::waitFor(WeiboParser::visitorCookie(HTTPClient())), NetworkError);
}

} // namespace
