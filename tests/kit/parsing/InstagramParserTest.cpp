#include "InstagramParser.h"
#include "PlatformParserTest.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kInstagram = QStringLiteral("127.0.0.6");

// An embed page carrying `context` as the platform does: an escaped JSON text
// inside a script call.
QByteArray embedPage(const QByteArray &context)
{
    const QByteArray list =
        QJsonDocument(QJsonArray{QString::fromUtf8(context)}).toJson(QJsonDocument::Compact);
    return "<html><body><script>s.handle({\"contextJSON\":" + list.mid(1, list.size() - 2) +
           ",\"next\":\"x\"});</script></body></html>";
}

QByteArray withMedia(const QByteArray &media)
{
    return R"({"context": {}, "gql_data": {"shortcode_media": )" + media + "}}";
}

class InstagramParserTest : public PlatformParserTest<InstagramParser> {
protected:
    void SetUp() override
    {
        linkAddress = kInstagram;
        server.pointAt(Host::InstagramMain, kInstagram);
        server.pointAt(Host::InstagramWeb, kInstagram);
    }
    void embed(const QString &code, const QByteArray &page)
    {
        server.page(kInstagram, "/p/" + code + "/embed/captioned/", page);
    }
};

TEST_F(InstagramParserTest, ACarouselGivesEveryNodeInOrder)
{
    embed("Cab_1-x", embedPage(withMedia(R"({
        "edge_media_to_caption": {"edges": [{"node": {"text": "caption \"quoted\"\nline"}}]},
        "owner": {"username": "someone", "profile_pic_url": "http://cdn.test/me.jpg"},
        "taken_at_timestamp": 1700000000, "is_video": false,
        "edge_sidecar_to_children": {"edges": [
            {"node": {"display_url": "https://cdn.test/1.jpg", "dimensions": {"width": "1080", "height": 1350}}},
            {"node": {"display_url": "//cdn.test/2.jpg", "is_video": true, "video_url": "http://cdn.test/2.mp4",
                      "video_duration": 7.5}},
            {"node": {"display_url": "https://cdn.test/3.jpg", "is_video": "true"}},
            {"node": {"is_video": false}}, "not an object"]}})")));
    const ParsedPost post = parse("/someone/reels/Cab_1-x/?igsh=1");

    EXPECT_EQ(server.requests().last().header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});
    EXPECT_EQ(post.platform, Platform::instagram);
    EXPECT_EQ(post.canonicalURL, server.origin(kInstagram) + "/reel/Cab_1-x/");
    EXPECT_EQ(post.content, QStringLiteral("caption \"quoted\"\nline"));
    EXPECT_EQ(post.authorName, QStringLiteral("someone"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("http://cdn.test/me.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://cdn.test/1.jpg", std::nullopt, 1080, 1350),
                     ParsedMedia(MediaKind::video, "https://cdn.test/2.jpg",
                                 QStringLiteral("https://cdn.test/2.mp4"), std::nullopt, std::nullopt, 7.5),
                     ParsedMedia(MediaKind::image, "https://cdn.test/3.jpg")}));
}

TEST_F(InstagramParserTest, ASinglePostIsItsOwnNodeAndTvLinksGetThePostForm)
{
    embed("Single",
          embedPage(withMedia(R"({"display_url": "https://cdn.test/s.jpg", "taken_at_timestamp": "x",
                                            "edge_sidecar_to_children": {"edges": []}})")));
    const ParsedPost post = parse("/tv/Single/");
    EXPECT_EQ(post.canonicalURL, server.origin(kInstagram) + "/p/Single/");
    EXPECT_EQ(post.content, QString());
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, "https://cdn.test/s.jpg")});
}

TEST_F(InstagramParserTest, EmbedsWithoutThePostOrItsMediaFailWithTheirTokens)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"<html>no context</html>", "embed contextJSON"},
        {"<script>{\"contextJSON\":\"{not json\"}</script>", "embed contextJSON"},
        {"<script>{\"contextJSON\":\"{\\\"gql_data\\\":{}}", "embed contextJSON"},
        {embedPage(withMedia("null")), "embed contextJSON"},
        {embedPage(withMedia(R"({"display_url": null, "is_video": true})")), "embed media"},
        {embedPage(withMedia(R"({"display_url": "https://cdn.test/c.jpg", "is_video": 1})")), "embed video"},
    };
    for (const auto &[page, token] : cases) {
        embed("Code", page);
        EXPECT_EQ(failure("/p/Code/").token(), QLatin1String(token)) << page.constData();
    }
}

TEST_F(InstagramParserTest, ACodeThatCouldLeaveTheEmbedPathFailsBeforeAnyRequest)
{
    for (const char *path : {"/p/a%3Fb/", "/reel/a b/", "/p/a.b", "/p/"})
        EXPECT_EQ(failure(QString::fromLatin1(path)).token(), QStringLiteral("shortcode")) << path;
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(InstagramParserTest, TheContextWalkStopsOnlyAtAnUnescapedQuote)
{
    const auto context = [](const char *page) {
        return InstagramParser::contextJSON(QString::fromUtf8(page));
    };
    const auto found = context(R"(x "contextJSON":"{\"a\":\"say \\\"hi\\\"\"}" y)");
    ASSERT_TRUE(found);
    EXPECT_EQ((*found)["a"].stringValue(), QStringLiteral("say \"hi\""));
    EXPECT_FALSE(context(R"("contextJSON":"{\"never\": \"closed)"));
    EXPECT_FALSE(context(R"("contextJSON": "{}")")) << "the marker is exact";
}

TEST_F(InstagramParserTest, TheRegistryGivesOnlyPostLinksToTheParser)
{
    HostTable::clearOverrides();
    for (const char *link :
         {"https://www.instagram.com/p/Abc/", "https://instagram.com/reel/Abc",
          "https://www.instagram.com/someone/reels/Abc/?igsh=x", "https://m.instagram.com/tv/Abc"})
        EXPECT_TRUE(isChosenFor<InstagramParser>(link)) << link;
    for (const char *link : {"https://www.instagram.com/someone/", "https://www.instagram.com/p/",
                             "https://www.instagram.com/P/Abc/", "https://example.org/p/Abc/"})
        EXPECT_FALSE(isChosenFor<InstagramParser>(link)) << link;
}

} // namespace
