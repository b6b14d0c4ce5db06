#include "InstagramParser.h"
#include "PlatformParserTest.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kInstagram = QStringLiteral("127.0.0.6");

// The post's media object as the embed page's script carries it: escaped JSON text.
QByteArray contextMember(const QByteArray &media)
{
    const QString context =
        QStringLiteral(R"({"gql_data": {"shortcode_media": %1}})").arg(QString::fromUtf8(media));
    const QByteArray list = QJsonDocument(QJsonArray{context}).toJson(QJsonDocument::Compact);
    return "\"contextJSON\":" + list.mid(1, list.size() - 2);
}

QByteArray embedPage(const QByteArray &media)
{
    return "<script>s.handle({" + contextMember(media) + ",\"n\":\"x\"});</script>";
}

// A photo post's embed page: the script context is null and the post stands
// only in the markup. `media` is the embedded media element.
QByteArray markupPage(const QByteArray &media, const QByteArray &context = R"("contextJSON":null)")
{
    return R"(<!DOCTYPE html><html><head><title>Instagram</title></head><body>
<div class="Embed " data-media-type="GraphImage"><div class="Header">
<a class="Avatar InsideRing" href="https://www.instagram.com/some.one/"><span class="AvatarContainer">
<img alt="some.one" class="Image" src="https://cdn.test/avatar.jpg" /></span></a>
<div class="HeaderText"><a class="Username" href="https://www.instagram.com/some.one/"><span class="UsernameText">some.one</span></a></div></div>
<a class="EmbeddedMedia" href="https://www.instagram.com/p/Cab_1-x/"><div class="EmbeddedMediaImageContainer">)" +
           media + R"(</div></a>
<div class="Caption"><a class="CaptionUsername" href="https://www.instagram.com/some.one/">some.one</a><br /><br />
海边 &amp; 日落<br />第二行 <a href="https://www.instagram.com/explore/tags/sea/">#sea</a>
<div class="CaptionComments"><a href="https://www.instagram.com/p/Cab_1-x/">View all 12 comments</a></div></div></div>
<script>window.__additionalDataLoaded('extra',null);</script>
<script>(function(){s.handle({)" +
           context + R"(,"isCaptioned":true});})();</script></body></html>)";
}

class InstagramParserTest : public PlatformParserTest<InstagramParser> {
protected:
    void SetUp() override
    {
        linkAddress = kInstagram;
        server.pointAt(Host::InstagramMain, kInstagram);
        server.pointAt(Host::InstagramWeb, kInstagram);
    }
    void embed(const QByteArray &page) { server.page(kInstagram, "/p/Cab_1-x/embed/captioned/", page); }
};

TEST_F(InstagramParserTest, ACarouselGivesEveryNodeInOrder)
{
    embed(embedPage(R"({"edge_media_to_caption": {"edges": [{"node": {"text": "say \"hi\""}}]},
        "owner": {"username": "someone", "profile_pic_url": "https://cdn.test/me.jpg"}, "taken_at_timestamp": 1700000000,
        "edge_sidecar_to_children": {"edges": [
            {"node": {"display_url": "https://cdn.test/1.jpg", "dimensions": {"width": "1080", "height": 1350}}},
            {"node": {"display_url": "//cdn.test/2.jpg", "is_video": true, "video_url": "http://cdn.test/2.mp4",
                      "video_duration": 7.5}},
            {"node": {"display_url": "https://cdn.test/3.jpg", "is_video": "true", "video_url": ""}}, {"node": {}}, 7]}})"));
    const ParsedPost post = parse("/someone/reels/Cab_1-x/?igsh=1");

    EXPECT_EQ(post.canonicalURL, server.origin(kInstagram) + "/reel/Cab_1-x/");
    EXPECT_EQ(QStringList({post.content, post.authorName, post.authorAvatar}),
              QStringList({"say \"hi\"", "someone", "https://cdn.test/me.jpg"}));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://cdn.test/1.jpg", std::nullopt, 1080, 1350),
                     ParsedMedia(MediaKind::video, "https://cdn.test/2.jpg",
                                 QStringLiteral("https://cdn.test/2.mp4"), std::nullopt, std::nullopt, 7.5),
                     ParsedMedia(MediaKind::image, "https://cdn.test/3.jpg")}));

    embed(embedPage(R"({"display_url": "https://cdn.test/s.jpg", "taken_at_timestamp": "soon"})"));
    const ParsedPost single = parse("/tv/Cab_1-x");
    EXPECT_FALSE(single.publishedAt);
    EXPECT_EQ(single.media, QList{ParsedMedia(MediaKind::image, "https://cdn.test/s.jpg")});
}

TEST_F(InstagramParserTest, APhotoPageWithoutContextIsReadFromItsMarkup)
{
    embed(markupPage(R"(<img alt="海边" class="EmbeddedMediaImage" src="https://cdn.test/640.jpg?a=1&amp;b=2"
        srcset="https://cdn.test/640.jpg?a=1&amp;b=2 640w,https://cdn.test/1080.jpg?a=1&amp;b=2 1080w,https://cdn.test/750.jpg 750w" />)"));
    const ParsedPost post = parse("/p/Cab_1-x/");
    EXPECT_EQ(post.canonicalURL, server.origin(kInstagram) + "/p/Cab_1-x/");
    EXPECT_EQ(QStringList({post.content, post.authorName}),
              QStringList({"海边 & 日落\n第二行 #sea", "some.one"}));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://cdn.test/1080.jpg?a=1&b=2")});

    embed(markupPage(R"(<img class="EmbeddedMediaImage" src="//cdn.test/only.jpg">)"));
    EXPECT_EQ(parse("/p/Cab_1-x/").media, QList{ParsedMedia(MediaKind::image, "https://cdn.test/only.jpg")});

    // A removed post shows a notice where the picture would be.
    embed(markupPage(R"(<div class="EmbedIsBroken">This post is unavailable.</div>)"));
    EXPECT_EQ(failure("/p/Cab_1-x/").token(), QStringLiteral("embed contextJSON"));
}

TEST_F(InstagramParserTest, TheContextWinsOverTheMarkupWhenThePageHasBoth)
{
    embed(markupPage(
        R"(<img class="EmbeddedMediaImage" src="https://cdn.test/markup.jpg">)",
        contextMember(R"({"display_url": "https://cdn.test/context.jpg", "owner": {"username": "owner"}})")));
    const ParsedPost post = parse("/p/Cab_1-x/");
    EXPECT_EQ(post.authorName, QStringLiteral("owner"));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://cdn.test/context.jpg")});
}

TEST_F(InstagramParserTest, EmbedsWithoutThePostOrItsMediaFailWithTheirTokens)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"<html>no context</html>", "embed contextJSON"},
        {embedPage(R"({"display_url": null, "is_video": true})"), "embed media"},
        {embedPage(R"({"display_url": "https://cdn.test/c.jpg", "is_video": 1})"), "embed video"},
        {markupPage(R"(<img class="EmbeddedMediaImage" src="https://cdn.test/m.jpg">)", R"("context":null)"),
         "embed contextJSON"},
    };
    for (const auto &[page, token] : cases) {
        embed(page);
        EXPECT_EQ(failure("/p/Cab_1-x/").token(), QLatin1String(token)) << page.constData();
    }
    const qsizetype sent = server.requests().size();
    for (const char *path : {"/p/a%3Fb/", "/reel/a b/", "/p/a.b"})
        EXPECT_EQ(failure(path).token(), QStringLiteral("shortcode")) << path;
    EXPECT_EQ(server.requests().size(), sent);
}

TEST_F(InstagramParserTest, OnlyLinksWithAPostCodeAreTaken)
{
    HostTable::clearOverrides();
    EXPECT_EQ(chosenCount<InstagramParser>({"https://www.instagram.com/someone/p/Abc/?igsh=x"}), 1);
    EXPECT_EQ(
        chosenCount<InstagramParser>({"https://www.instagram.com/someone/", "https://www.instagram.com/p/",
                                      "https://www.instagram.com/P/Abc/"}),
        0);
}

} // namespace
