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

TEST_F(WeChatParserTest, OlderPagesNameTheArticleAndAuthorElsewhere)
{
    const QByteArray body = R"(<div class="rich_media_content " id="js_content"><p>正文</p></div><script>)";
    const ParsedPost older =
        parsePage(R"(<head><title>Unused</title></head><h2 class="rich_media_title" id="activity-name">
        旧文章 &amp; <span>标题</span>
      </h2>)" + body +
                  R"(var nickname = " 老\"号\x26amp;名 "; var msg_title = "Unused";</script>)");
    EXPECT_EQ(QStringList({older.title, older.authorName}), QStringList({"旧文章 & 标题", "老\"号&名"}));

    const auto titleOf = [this, &body](const QByteArray &page) { return parsePage(page + body).title; };
    EXPECT_EQ(
        titleOf("<head><title> 文档 &amp; 标题 </title></head><script>var msg_title = \"Unused\";</script>"),
        QStringLiteral("文档 & 标题"));
    EXPECT_EQ(
        titleOf("<head><title></title></head><script>var msg_title = \"脚本 &quot;标题&quot;\".html(false);"
                "</script>"),
        QStringLiteral("脚本 \"标题\""));
}

TEST_F(WeChatParserTest, TheNewerMarkersStillWinOverTheOlderOnes)
{
    const ParsedPost post =
        parsePage(R"(<head><meta property="og:title" content="Open Graph"><title>Document</title>
        </head><h2 id="activity-name">Heading</h2><div id="js_content"><p>Text</p></div>
        <script>var nickname = htmlDecode("Decoded"); var nickname = "Plain"; var msg_title = "Script";</script>)");
    EXPECT_EQ(QStringList({post.title, post.authorName}), QStringList({"Open Graph", "Decoded"}));
}

TEST_F(WeChatParserTest, AnEscapedDescriptionIsDecoded)
{
    const auto contentOf = [this](const QByteArray &description) {
        return parsePage(R"(<head><meta property="og:description" content=")" + description +
                         R"("></head><div id="js_content"></div><script></script>)")
            .content;
    };
    EXPECT_EQ(contentOf(R"(第一行\x0d\x0a第二行 \x26amp; \x26lt;三\x26gt;\x0aC:\\dir)"),
              QStringLiteral("第一行\n第二行 & <三>\nC:\\dir"));
    EXPECT_EQ(contentOf("Plain &amp;amp; text"), QStringLiteral("Plain &amp; text")) << "nothing escaped";
}

TEST_F(WeChatParserTest, APageWithoutAnArticleFailsInsteadOfWipingASavedOne)
{
    server.page(kWeChat, "/s/gone", "<p>环境异常</p><script>var nickname = htmlDecode(\"A\");</script>");
    EXPECT_EQ(failure("/s/gone").token(), QStringLiteral("article"));
    server.page(kWeChat, "/s/notice", "<head><title>环境异常</title></head><p>完成验证后即可继续访问</p>");
    EXPECT_EQ(failure("/s/notice").token(), QStringLiteral("article"));
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
