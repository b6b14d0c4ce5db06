#include "NeteaseMusicParser.h"
#include "NetworkSession.h"
#include "PlatformParserTest.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.7");
const QString kAudio = QStringLiteral("127.0.0.8");

class NeteaseMusicParserTest : public PlatformParserTest<NeteaseMusicParser> {
protected:
    void SetUp() override
    {
        linkAddress = kSite;
        server.pointAt(Host::NeteaseMusic, kSite);
        server.pointAt(Host::NeteaseAudio, kAudio);
    }
    void song(const QString &id, const QByteArray &detail)
    {
        server.page(kSite, "/api/song/detail/?ids=%5B" + id + "%5D", detail, "application/json");
    }
    std::optional<QString> audioAt(const QString &location)
    {
        server.serve(kSite, "/song/media/outer/url?id=1.mp3", {302, {}, {{"Location", location.toUtf8()}}});
        return TestAsync::waitFor(
            NeteaseMusicParser::audioURL(QStringLiteral("1"), &NetworkSession::shared()));
    }
};

TEST_F(NeteaseMusicParserTest, ASongGivesArtistsAlbumLyricsAndItsAudioWithTheCover)
{
    song("1", R"({"songs": [{"name": "晴天", "duration": 210000,
        "artists": [{"name": "周杰伦", "id": 6452}, {"name": 42}, {"id": 1}, "x"],
        "album": {"name": "叶惠美", "picUrl": "http://p1/cover.jpg", "publishTime": 1059580800000}}]})");
    server.page(kSite, "/api/artist/head/info/get?id=6452",
                R"({"data": {"artist": {"avatar": "//p2/a.jpg"}}})");
    server.page(kSite, "/api/song/lyric?id=1&lv=1", R"({"lrc": {"lyric": "[00:01.00]故事的小黄花\n"}})");
    const QString audio = server.origin(kAudio) + "/a/1.mp3?vuutv=1";
    server.serve(kSite, "/song/media/outer/url?id=1.mp3", {302, {}, {{"Location", audio.toUtf8()}}});
    const ParsedPost post = parse("/#/song?id=1");

    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/song?id=1");
    EXPECT_EQ(post.authorName, QStringLiteral("周杰伦/42"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("https://p2/a.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromMSecsSinceEpoch(1059580800000, Qt::UTC));
    EXPECT_EQ(post.content, QStringLiteral("专辑：叶惠美\n\n故事的小黄花"));
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::audio, "https://p1/cover.jpg?param=1000y1000", audio,
                                            1000, 1000, 210)});
}

TEST_F(NeteaseMusicParserTest, AnArtistWithoutAnAvatarGivesItsCoverAndAnAvatarStillWins)
{
    song("1", R"({"songs": [{"name": "晴天", "artists": [{"name": "周杰伦", "id": 6452}]}]})");
    const auto avatarFrom = [this](const QByteArray &artist) {
        server.page(kSite, "/api/artist/head/info/get?id=6452",
                    R"({"code": 200, "data": {"artist": )" + artist + R"(, "user": null}})",
                    "application/json");
        return parse("/song?id=1").authorAvatar;
    };
    EXPECT_EQ(avatarFrom(R"({"id": 6452, "name": "周杰伦", "cover": "http://p1.test/cover.jpg"})"),
              QStringLiteral("https://p1.test/cover.jpg"));
    EXPECT_EQ(avatarFrom(R"({"avatar": null, "cover": "//p1.test/cover.jpg"})"),
              QStringLiteral("https://p1.test/cover.jpg"));
    EXPECT_EQ(avatarFrom(R"({"avatar": "https://p2.test/a.jpg", "cover": "https://p1.test/cover.jpg"})"),
              QStringLiteral("https://p2.test/a.jpg"));
    EXPECT_EQ(avatarFrom(R"({"avatar": 7, "cover": {}})"), QString());
}

TEST_F(NeteaseMusicParserTest, OnlyAnMP3OnTheAudioHostIsTakenAndTheRedirectIsNeverFollowed)
{
    const QString host = server.origin(kAudio).mid(int(qstrlen("https://")));
    EXPECT_EQ(audioAt("http://" + host + "/b.mp3"), "https://" + host + "/b.mp3");
    EXPECT_EQ(audioAt("//" + host + "/b.mp3"), "https://" + host + "/b.mp3");
    for (const QString &location : {server.origin(kSite) + "/c.mp3", "https://" + kAudio + ".evil/d.mp3",
                                    QStringLiteral("file:///etc/c.mp3")})
        EXPECT_FALSE(audioAt(location)) << location.toStdString();
    for (const auto &request : server.requests())
        EXPECT_NE(request.address, kAudio);

    song("1",
         R"({"songs": [{"name": "同名", "album": {"name": "同名", "publishTime": 0}, "artists": [{}]}]})");
    const ParsedPost post = parse("/song/1/?userid=5");
    EXPECT_EQ(post.content, QString());
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, QString(), std::nullopt, 1000, 1000)});
}

TEST_F(NeteaseMusicParserTest, ShortLinksAreResolvedAndLinksWithoutASongAreRefused)
{
    song("77", R"({"songs": [{"name": "晴天"}]})");
    server.redirect(kSite, "/abc", "/m/song?app_version=9&userid=5&id=77");
    server.page(kSite, "/m/song", "mobile page");
    EXPECT_EQ(parse("/abc").title, QStringLiteral("晴天"));

    server.page(kSite, "/playlist", "list");
    EXPECT_EQ(failure("/playlist?userid=5").kind(), ParseError::Kind::notSupported);
    song("5", R"({"songs": [{"name": null}]})");
    EXPECT_EQ(failure("/song?id=5").token(), QStringLiteral("songs"));
}

TEST(NeteaseMusicTextTest, LyricsLoseTheirTimeTagsAndBlankLinesWhateverTheLineEnds)
{
    EXPECT_EQ(NeteaseMusicParser::plainLyrics(
                  "[ar:Name]\r\n[00:01.00]Line one\r\n\r\n[00:03]\r\n[00:02.50] Line two \t"),
              QStringLiteral("[ar:Name]\nLine one\nLine two"));
}

} // namespace
