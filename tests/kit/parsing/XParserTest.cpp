#include "JSON.h"
#include "PlatformParserTest.h"
#include "XParser.h"

namespace {

const QString kX = QStringLiteral("127.0.0.4");
const QString kMirror = QStringLiteral("127.0.0.5");

class XParserTest : public PlatformParserTest<XParser> {
protected:
    void SetUp() override
    {
        linkAddress = kX;
        server.pointAt(Host::XMain, kX);
        server.pointAt(Host::XMirrorAPI, kMirror);
    }
    void reply(const QString &path, const QByteArray &json) { server.serve(kMirror, path, {200, json, {}}); }
};

TEST_F(XParserTest, ReadsAStatusWithEveryMediaKind)
{
    reply("/someone/status/123", R"({"tweet": {"text": "hello", "created_timestamp": "1700000000",
        "author": {"name": "Some One", "screen_name": "SomeOne", "avatar_url": "https://pbs.test/a.jpg"},
        "media": {"all": [{"type": "photo", "url": "http://pbs.test/1.jpg", "width": 1200, "height": 800},
            {"type": "video", "thumbnail_url": "//pbs.test/v.jpg", "url": "https://v.test/v.mp4", "duration": 12.5},
            {"type": "gif", "thumbnail_url": "https://pbs.test/g.jpg", "url": ""}, {"type": "Photo", "url": "https://pbs.test/c.jpg"},
            {"type": "audio", "url": "https://pbs.test/a.m4a"}, {"type": "photo"}, "not an object"]}}})");
    const ParsedPost post = parse("/someone/status/123/photo/1");

    EXPECT_EQ(post.canonicalURL, server.origin(kX) + "/SomeOne/status/123");
    EXPECT_EQ(QStringList({post.content, post.authorName, post.authorAvatar}),
              QStringList({"hello", "Some One", "https://pbs.test/a.jpg"}));
    EXPECT_EQ(post.publishedAt, QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    EXPECT_EQ(post.media,
              (QList{ParsedMedia(MediaKind::image, "https://pbs.test/1.jpg", std::nullopt, 1200, 800),
                     ParsedMedia(MediaKind::video, "https://pbs.test/v.jpg",
                                 QStringLiteral("https://v.test/v.mp4"), std::nullopt, std::nullopt, 12.5),
                     ParsedMedia(MediaKind::video, "https://pbs.test/g.jpg")}));
}

TEST_F(XParserTest, AnAnswerWithoutTheFullMediaListGivesPhotosThenVideos)
{
    const QByteArray photo =
        R"({"type": "photo", "url": "https://pbs.test/1.jpg", "width": 1200, "height": 800})";
    const QByteArray video =
        R"({"type": "video", "thumbnail_url": "https://pbs.test/v.jpg", "url": "https://v.test/v.mp4",
        "width": 720, "height": 1280, "duration": 9})";
    const ParsedMedia image(MediaKind::image, "https://pbs.test/1.jpg", std::nullopt, 1200, 800);
    const ParsedMedia movie(MediaKind::video, "https://pbs.test/v.jpg",
                            QStringLiteral("https://v.test/v.mp4"), 720, 1280, 9);

    reply("/u/status/1",
          R"({"tweet": {"media": {"videos": [)" + video + R"(], "photos": [)" + photo + "]}}}");
    EXPECT_EQ(parse("/u/status/1").media, (QList{image, movie}));

    reply("/u/status/1", R"({"tweet": {"media": {"all": [)" + video + R"(], "photos": [)" + photo + "]}}}");
    EXPECT_EQ(parse("/u/status/1").media, QList{movie}) << "the full list wins";
}

TEST_F(XParserTest, TheUserAndStatusIdComeSafelyFromTheLink)
{
    reply("/i/status/42", R"({"tweet": {"created_timestamp": 1e300, "media": {"all": 5}}})");
    const ParsedPost bare = parse("/status/42");
    EXPECT_EQ(bare.canonicalURL, server.origin(kX) + "/i/status/42") << "no screen name in the reply";
    EXPECT_FALSE(bare.publishedAt);

    reply("/a%3Fb%23c/status/7", R"({"tweet": {"text": "odd"}})");
    EXPECT_EQ(parse("/a%3Fb%23c/status/7").content, QStringLiteral("odd"));

    const qsizetype sent = server.requests().size();
    for (const char *path :
         {"/someone/status", "/a/status/12a", "/a/status/%3F1", "/a/status/123456789012345678901"})
        EXPECT_EQ(failure(path).token(), QStringLiteral("status id")) << path;
    EXPECT_EQ(server.requests().size(), sent);
}

// Later times could never be written to the backup document, and with them no sync.
TEST_F(XParserTest, ATimeOutsideTheYearsOneTo9999IsNoTime)
{
    const auto timeOf = [this](const char *seconds) {
        reply("/u/status/1", QByteArray(R"({"tweet": {"created_timestamp": )") + seconds + "}}");
        return parse("/u/status/1").publishedAt;
    };
    EXPECT_EQ(timeOf("253402300799"), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC));
    EXPECT_EQ(timeOf("-62135596800"), QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC));
    for (const char *seconds : {"253402300800", "3e11", "999999999999", "-62135596801"})
        EXPECT_FALSE(timeOf(seconds)) << seconds;
}

TEST_F(XParserTest, AReplyWithoutTheStatusFails)
{
    reply("/u/status/1", R"({"code": 404, "tweet": null})");
    EXPECT_EQ(failure("/u/status/1").token(), QStringLiteral("fxtwitter"));
    reply("/u/status/1", R"({"tweet": {"text": "cut)");
    EXPECT_THROW(TestAsync::waitFor(parseTask("/u/status/1")), JSONError);
}

TEST_F(XParserTest, OnlyStatusLinksOfXHostsAreTaken)
{
    HostTable::clearOverrides();
    for (const auto &[link, taken] : {std::pair{"https://twitter.com/a/status/1?s=20", true},
                                      {"https://fxtwitter.com/a/status/1/video/1", true},
                                      {"https://x.com/a", false},
                                      {"https://x.com.example.org/a/status/1", false},
                                      {"https://notx.com/a/status/1", false}})
        EXPECT_EQ(chosenCount<XParser>({link}), int(taken)) << link;
}

} // namespace
