#include "PlatformParserTest.h"
#include "WeChatParser.h"

namespace {

const QString kWeChat = QStringLiteral("127.0.0.10");

const QByteArray kArticle = R"(<html><head>
<meta property="og:title" content="Article &amp; more"><meta property="og:description" content="Summary">
<meta property="og:image" content="http://mmbiz.qpic.cn/og.jpg"></head><body>
<img data-src="https://mmbiz.qpic.cn/header.jpg">
<h1 class="rich_media_title">Heading</h1>
<a id="js_name" href="#">Account</a>
<div class="rich_media_content" id="js_content" style="visibility: hidden;">
<p>First <b>paragraph</b></p><p>Second &lt;one&gt;</p>
<img DATA-SRC="http://mmbiz.qpic.cn/a.jpg?wx_fmt=jpeg&amp;tp=1">
<img data-src="http://mmbiz.qpic.cn/a.jpg?wx_fmt=jpeg&tp=1">
<img data-src="https://other.test/mmbiz.qpic.cn/b.jpg"><img data-src="//mmbiz.qpic.cn/c.jpg">
<img data-src="HTTPS://MMBIZ.QPIC.CN/d.png">
</div>
<script>var nickname = htmlDecode("Tom &amp; <Jerry>"); var ct = "1700000000";</script>
<img data-src="https://mmbiz.qpic.cn/after.jpg">
</body></html>)";

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

TEST_F(WeChatParserTest, ReadsAFullArticleFromItsMarkupAndScripts)
{
    server.redirect(kWeChat, "/s/short", server.origin(kWeChat) + "/s?__biz=MzA&mid=1");
    server.page(kWeChat, "/s", kArticle);
    const ParsedPost post = parse("/s/short");

    EXPECT_EQ(server.requests().last().header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});
    EXPECT_EQ(post.platform, Platform::wechat);
    EXPECT_EQ(post.canonicalURL, server.origin(kWeChat) + "/s?__biz=MzA&mid=1");
    EXPECT_EQ(post.title, QStringLiteral("Article & more"));
    EXPECT_EQ(post.authorName, QStringLiteral("Tom & <Jerry>"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.content, QStringLiteral("First paragraph\nSecond <one>"));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://mmbiz.qpic.cn/a.jpg?wx_fmt=jpeg&tp=1"),
                     ParsedMedia(MediaKind::image, "HTTPS://MMBIZ.QPIC.CN/d.png")}));
}

TEST_F(WeChatParserTest, MissingMarkersFallBackInTurn)
{
    const ParsedPost post = parsePage(R"(<head><meta property="og:description" content="Summary">
        <meta property="og:image" content="//mmbiz.qpic.cn/og.jpg"></head>
        <h1>A <em>bold</em> &amp; plain title</h1><a id="js_name" class="x"> <span>Account</span> </a>
        <script>var ct = "soon";</script><div id="js_content"><p>no script after the body</p></div>)");
    EXPECT_EQ(post.title, QStringLiteral("A bold & plain title"));
    EXPECT_EQ(post.authorName, QStringLiteral("Account"));
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.content, QStringLiteral("Summary"));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://mmbiz.qpic.cn/og.jpg")});

    const ParsedPost emptyTitle =
        parsePage(R"(<head><meta property="og:title" content=""></head><h1>Unused</h1>
        <div id="js_content"><p>Body</p></div><script>var ct = "99999999999999999999999";</script>)");
    EXPECT_EQ(emptyTitle.title, QString());
    EXPECT_EQ(emptyTitle.content, QStringLiteral("Body"));
    EXPECT_FALSE(emptyTitle.publishedAt);
}

TEST_F(WeChatParserTest, APageWithoutAnArticleFailsInsteadOfWipingASavedOne)
{
    server.page(kWeChat, "/s/gone",
                "<html><body><p>环境异常</p><script>var nickname = htmlDecode(\"A\");</script>");
    EXPECT_EQ(failure("/s/gone").token(), QStringLiteral("article"));
    EXPECT_EQ(failure("/s/missing").status(), 404);
}

// Lazy patterns over such a page would take one pass per opening.
TEST_F(WeChatParserTest, MarkersThatNeverCloseFinish)
{
    QByteArray page = "<div id=\"js_content\">";
    for (int i = 0; i < 50000; ++i)
        page += "<h1 id=\"js_name\" var nickname = htmlDecode(\"x ";
    page += "<script>";
    const ParsedPost post = parsePage(page);
    EXPECT_EQ(post.title, QString());
    EXPECT_EQ(post.authorName, QString());
}

TEST_F(WeChatParserTest, TheRegistryGivesArticleLinksToTheParser)
{
    HostTable::clearOverrides();
    EXPECT_TRUE(isChosenFor<WeChatParser>("https://mp.weixin.qq.com/s/AbC-12"));
    EXPECT_TRUE(isChosenFor<WeChatParser>("http://mp.weixin.qq.com/s?__biz=MzA&mid=1&idx=1#rd"));
    EXPECT_FALSE(isChosenFor<WeChatParser>("https://weixin.qq.com/s/AbC"));
}

} // namespace
