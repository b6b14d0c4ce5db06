#include "InstagramParser.h"
#include "PlatformParserTest.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kInstagram = QStringLiteral("127.0.0.6");

// The post's media object as the embed page carries it: escaped JSON text in a script.
QByteArray embedPage(const QByteArray &media)
{
    const QString context =
        QStringLiteral(R"({"gql_data": {"shortcode_media": %1}})").arg(QString::fromUtf8(media));
    const QByteArray list = QJsonDocument(QJsonArray{context}).toJson(QJsonDocument::Compact);
    return "<script>s.handle({\"contextJSON\":" + list.mid(1, list.size() - 2) + ",\"n\":\"x\"});</script>";
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

TEST_F(InstagramParserTest, EmbedsWithoutThePostOrItsMediaFailWithTheirTokens)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"<html>no context</html>", "embed contextJSON"},
        {embedPage(R"({"display_url": null, "is_video": true})"), "embed media"},
        {embedPage(R"({"display_url": "https://cdn.test/c.jpg", "is_video": 1})"), "embed video"},
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
