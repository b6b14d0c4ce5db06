#include "PlatformParserTest.h"
#include "WeChatParser.h"

namespace {

const QString kWeChat = QStringLiteral("127.0.0.10");

class WeChatParserTest : public PlatformParserTest<WeChatParser> {
protected:
    void SetUp() override
    {
        linkAddress = kWeChat;
        server.pointAt(Host::WeChatArticles, kWeChat);
    }
    ParsedPost parsePage(const QByteArray &page)
    {
        server.page(kWeChat, "/s/abc", page);
        return parse("/s/abc");
    }
};

TEST_F(WeChatParserTest, ReadsAnArticleFromItsMarkupAndScripts)
{
    server.redirect(kWeChat, "/s/short", server.origin(kWeChat) + "/s?__biz=MzA&mid=1");
    server.page(kWeChat, "/s", R"(<head><meta property="og:title" content="Title &amp; more"></head>
        <img data-src="https://mmbiz.qpic.cn/header.jpg"><h1>Unused</h1><a id="js_name">Unused</a>
        <div class="rich_media_content" id="js_content" style="a"><p>First <b>part</b></p><p>&lt;Second&gt;</p>
        <img DATA-SRC="http://mmbiz.qpic.cn/a.jpg?fmt=jpeg&amp;tp=1"><img data-src="http://mmbiz.qpic.cn/a.jpg?fmt=jpeg&tp=1">
        <img data-src="https://other.test/mmbiz.qpic.cn/b.jpg"><img data-src="HTTPS://MMBIZ.QPIC.CN/d.png"></div>
        <script>var nickname = htmlDecode("Tom &amp; <Jerry>"); var ct = "1700000000";</script>
        <img data-src="https://mmbiz.qpic.cn/after.jpg">)");
    const ParsedPost post = parse("/s/short");

    EXPECT_EQ(post.canonicalURL, server.origin(kWeChat) + "/s?__biz=MzA&mid=1");
    EXPECT_EQ(QStringList({post.title, post.authorName, post.content}),
              QStringList({"Title & more", "Tom & <Jerry>", "First part\n<Second>"}));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media, (QList{ParsedMedia(MediaKind::image, "https://mmbiz.qpic.cn/a.jpg?fmt=jpeg&tp=1"),
                                 ParsedMedia(MediaKind::image, "HTTPS://MMBIZ.QPIC.CN/d.png")}));
}

TEST_F(WeChatParserTest, MissingMarkersFallBackInTurn)
{
    const ParsedPost post = parsePage(R"(<head><meta property="og:description" content="Summary">
        <meta property="og:image" content="//mmbiz.qpic.cn/og.jpg"></head><h1>A <em>bold</em> &amp; plain</h1>
        <a id="js_name" class="x"> <span>Account</span> </a><script>var ct = "soon";</script>
        <div id="js_content"><p>no script after the body</p></div>)");
    EXPECT_EQ(QStringList({post.title, post.authorName, post.content}),
              QStringList({"A bold & plain", "Account", "Summary"}));
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://mmbiz.qpic.cn/og.jpg")});
}

TEST_F(WeChatParserTest, APageWithoutAnArticleFailsInsteadOfWipingASavedOne)
{
    server.page(kWeChat, "/s/gone", "<p>环境异常</p><script>var nickname = htmlDecode(\"A\");</script>");
    EXPECT_EQ(failure("/s/gone").token(), QStringLiteral("article"));
}

TEST_F(WeChatParserTest, OnlyArticleHostLinksAreTaken)
{
    HostTable::clearOverrides();
    for (const auto &[link, taken] : {std::pair{"https://mp.weixin.qq.com/s/AbC-12", true},
                                      {"https://weixin.qq.com/s/AbC", false},
                                      {"https://mp.weixin.qq.com.example.org/s/AbC", false}})
        EXPECT_EQ(chosenCount<WeChatParser>({link}), int(taken)) << link;
}

} // namespace
