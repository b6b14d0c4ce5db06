#include "FixtureServer.h"
#include "NeteaseMusicParser.h"
#include "NetworkSession.h"
#include "ParseError.h"
#include "TestHome.h"
#include "WaitFor.h"

namespace {

const QString kSite = QStringLiteral("127.0.0.7");
const QString kAudio = QStringLiteral("127.0.0.8");
const QString kElsewhere = QStringLiteral("127.0.0.9");

const QByteArray kSong = R"({"songs": [{"name": "晴天", "duration": 210000,
    "artists": [{"name": "周杰伦", "id": 6452}, {"name": 42}, {"id": 1}, "x"],
    "album": {"name": "叶惠美", "picUrl": "http://p1/cover.jpg", "publishTime": 1059580800000}}]})";

class NeteaseMusicParserTest : public HomeTest {
protected:
    NeteaseMusicParserTest()
    {
        for (Host role : {Host::NeteaseMusic, Host::NeteaseShort, Host::NeteaseShortAlt})
            server.pointAt(role, kSite);
        server.pointAt(Host::NeteaseAudio, kAudio);
    }
    void song(const QByteArray &detail, const QString &id = QStringLiteral("186001"))
    {
        server.page(kSite, "/api/song/detail/?ids=%5B" + id + "%5D", detail, "application/json");
    }
    void audioAt(const QString &location, const QString &id = QStringLiteral("186001"))
    {
        server.serve(kSite, "/song/media/outer/url?id=" + id + ".mp3",
                     {302, {}, {{"Location", location.toUtf8()}}});
    }
    QCoro::Task<ParsedPost> parseTask(const QString &path)
    {
        return NeteaseMusicParser().parse(server.url(kSite, path), HTTPClient());
    }
    ParsedPost parse(const QString &path) { return TestAsync::waitFor(parseTask(path)); }
    std::optional<QString> audio(const QString &id = QStringLiteral("186001"))
    {
        return TestAsync::waitFor(NeteaseMusicParser::audioURL(id, &NetworkSession::shared()));
    }
    qsizetype requestsTo(const QByteArray &path) const
    {
        return std::count_if(server.requests().cbegin(), server.requests().cend(),
                             [&path](const auto &request) { return request.target.startsWith(path); });
    }

    FixtureServer server;
};

TEST_F(NeteaseMusicParserTest, ASongGivesArtistsAlbumLyricsAndItsAudioWithTheCover)
{
    song(kSong);
    server.page(kSite, "/api/artist/head/info/get?id=6452",
                R"({"data": {"artist": {"avatar": "http://p2/a.jpg"}}})");
    server.page(
        kSite, "/api/song/lyric?id=186001&lv=1",
        R"({"lrc": {"lyric": "[ti:晴天]\r\n[00:00.00]\r\n[00:01.00]故事的小黄花\r\n[00:02.50] 从出生那年就飘着 \r\n"}})");
    const QString audioHost = server.origin(kAudio).mid(int(qstrlen("https://")));
    audioAt("http://" + audioHost + "/a/186001.mp3?vuutv=1");
    const ParsedPost post = parse("/#/song?id=186001");

    EXPECT_EQ(post.canonicalURL, server.origin(kSite) + "/song?id=186001");
    EXPECT_EQ(post.title, QStringLiteral("晴天"));
    EXPECT_EQ(post.authorName, QStringLiteral("周杰伦/42"));
    EXPECT_EQ(post.authorAvatar, QStringLiteral("https://p2/a.jpg"));
    EXPECT_EQ(post.publishedAt, QDateTime::fromMSecsSinceEpoch(1059580800000, Qt::UTC));
    EXPECT_EQ(post.content, QStringLiteral("专辑：叶惠美\n\n[ti:晴天]\n故事的小黄花\n从出生那年就飘着"));
    EXPECT_EQ(post.media,
              QList{ParsedMedia(MediaKind::audio, "https://p1/cover.jpg?param=1000y1000",
                                "https://" + audioHost + "/a/186001.mp3?vuutv=1", 1000, 1000, 210)});
    for (const auto &request : server.requests())
        EXPECT_EQ(request.header("Referer"), QList{(server.origin(kSite) + "/").toUtf8()})
            << request.target.toStdString();
}

TEST_F(NeteaseMusicParserTest, TheAudioLinkIsOnlyAnMP3OnTheAudioHostAndIsNeverFollowed)
{
    const QString audioOrigin = server.origin(kAudio);
    audioAt(audioOrigin.mid(int(qstrlen("https:"))) + "/b.mp3");
    EXPECT_EQ(audio(), audioOrigin + "/b.mp3");
    EXPECT_EQ(requestsTo("/b.mp3"), 0);

    for (const QString &location :
         {audioOrigin + "/404.mp3", audioOrigin + "/b.m4a", QString(), server.origin(kElsewhere) + "/c.mp3",
          QStringLiteral("/local.mp3"), QStringLiteral("file:///etc/c.mp3"),
          "https://" + kAudio + ".evil/d.mp3"}) {
        audioAt(location);
        EXPECT_FALSE(audio()) << location.toStdString();
    }
    EXPECT_FALSE(audio(QStringLiteral("404404")));
}

TEST_F(NeteaseMusicParserTest, WithoutAudioTheCoverStaysAnImageAndMissingPartsStayEmpty)
{
    song(R"({"songs": [{"name": "同名", "artists": [{"name": "A"}],
                        "album": {"name": "同名", "publishTime": 0}}]})");
    const ParsedPost post = parse("/song/186001/?userid=5");
    EXPECT_EQ(post.content, QString());
    EXPECT_EQ(post.authorAvatar, QString());
    EXPECT_FALSE(post.publishedAt);
    EXPECT_EQ(post.media, QList{ParsedMedia(MediaKind::image, QString(), std::nullopt, 1000, 1000)});
    EXPECT_EQ(requestsTo("/api/artist"), 0);
}

TEST_F(NeteaseMusicParserTest, ShortLinksAreResolvedAndLinksWithoutASongAreRefused)
{
    song(kSong, QStringLiteral("77"));
    server.redirect(kSite, "/abc", "/m/song?app_version=9&userid=5&id=77");
    server.page(kSite, "/m/song", "mobile page");
    EXPECT_EQ(parse("/abc").title, QStringLiteral("晴天"));
    EXPECT_EQ(server.requests().first().header("User-Agent"), QList{UserAgent::iPhone.toUtf8()});

    server.page(kSite, "/playlist", "list");
    EXPECT_EQ(TestAsync::failureOf<ParseError>(parseTask("/playlist?userid=5")).kind(),
              ParseError::Kind::notSupported);
    song(R"({"songs": [{"name": null}]})", QStringLiteral("5"));
    EXPECT_EQ(TestAsync::failureOf<ParseError>(parseTask("/song?id=5")).token(), QStringLiteral("songs"));
    song("[1, 2", QStringLiteral("6"));
    EXPECT_THROW(parse("/song?id=6"), JSONError);
}

TEST(NeteaseMusicTextTest, SongIdsAndPlainLyrics)
{
    EXPECT_EQ(NeteaseMusicParser::songID(QUrl("https://music.163.com/#/song?id=123")), QStringLiteral("123"));
    EXPECT_EQ(NeteaseMusicParser::songID(QUrl("https://y.music.163.com/m/song/456")), QStringLiteral("456"));
    EXPECT_EQ(NeteaseMusicParser::songID(QUrl("https://music.163.com/song?userid=5&id=7")),
              QStringLiteral("7"));
    EXPECT_FALSE(NeteaseMusicParser::songID(QUrl("https://music.163.com/user?userid=5")));

    const QString expected = QStringLiteral("[ar:Name]\nLine one\nLine two");
    EXPECT_EQ(
        NeteaseMusicParser::plainLyrics("[ar:Name]\n[00:01.00]Line one\n[00:02.50] Line two \t\n[00:03]\n"),
        expected);
    EXPECT_EQ(NeteaseMusicParser::plainLyrics(
                  "[ar:Name]\r\n[00:01.00]Line one\r\n\r\n[00:03]\r\n[00:02.50]Line two"),
              expected);
}

} // namespace
