#include "ChannelFixture.h"
#include "QueuedRetry.h"

using namespace Qt::StringLiterals;

namespace {

class QueuedRetryTest : public ChannelTest {
protected:
    std::shared_ptr<Post> queued(const QString &title, QTime created)
    {
        auto post = addPost(title);
        post->setCreatedAt(QDateTime(now.date(), created, Qt::UTC));
        post->setTelegramQueued(true);
        context.save();
        return post;
    }
    static void addMedium(const std::shared_ptr<Post> &post, MediaKind kind)
    {
        auto medium = PostMaker::add(post, kind, std::nullopt);
        medium->setRemoteURL(u"https://example.com/a.jpg"_s);
        if (kind == MediaKind::video) {
            medium->setData(PostMaker::png(8, 8));
            medium->setVideoRemoteURL(u"https://example.com/a.mp4"_s);
        }
    }
    void retry(bool videos) { TestAsync::waitFor(retryQueuedTelegram(importer, videos)); }
    QStringList sentTitles() const
    {
        QStringList titles;
        for (const auto &call : bot.calls())
            if (call.method.startsWith(u"send"_s))
                titles.append(
                    (call.field(u"text"_s) + call.field(u"caption"_s)).section(u"</b>"_s, 0, 0).mid(3));
        return titles;
    }
};

TEST_F(QueuedRetryTest, OwedPostsAreSentOldestFirstAndOneFailureStopsNothing)
{
    const auto nine = queued(u"nine"_s, QTime(9, 0));
    const auto eight = queued(u"eight"_s, QTime(8, 0));
    const auto ten = queued(u"ten"_s, QTime(10, 0));
    const auto sentBefore = queued(u"sent before"_s, QTime(7, 0));
    sentBefore->setTelegramSyncedAt(now);
    bot.script(u"sendMessage"_s,
               {std::nullopt, FakeBotAPI::json(R"({"ok":false,"description":"boom"})", 400)});

    LogCapture log;
    retry(false);
    EXPECT_EQ(sentTitles(), (QStringList{u"eight"_s, u"nine"_s, u"ten"_s}));
    EXPECT_EQ(LogCapture::lines(), QStringList{u"telegram retry failed: Telegram：boom"_s});
    EXPECT_FALSE(eight->telegramQueued());
    EXPECT_TRUE(nine->telegramQueued());
    EXPECT_FALSE(ten->telegramQueued());
    EXPECT_EQ(channel().size(), 2);

    retry(false);
    EXPECT_FALSE(nine->telegramQueued());
    EXPECT_EQ(channel().size(), 3);
}

TEST_F(QueuedRetryTest, PostsWaitForTheirMediaAndStayOutOfThePrivateSpace)
{
    const auto hidden = queued(u"hidden"_s, QTime(8, 0));
    hidden->setIsPrivate(true);
    const auto noImage = queued(u"no image"_s, QTime(8, 1));
    addMedium(noImage, MediaKind::image);
    const auto noVideo = queued(u"no video"_s, QTime(8, 2));
    addMedium(noVideo, MediaKind::video);
    context.save();

    retry(true);
    EXPECT_TRUE(bot.calls().isEmpty());
    retry(false);
    EXPECT_EQ(requests(u"sendPhoto"_s), 1);
    EXPECT_FALSE(noVideo->telegramQueued());
    EXPECT_TRUE(noImage->telegramQueued());
    EXPECT_TRUE(hidden->telegramQueued());

    settings.setBool(SettingsKey::telegramEnabled, false);
    noImage->media().first()->setData(PostMaker::png(8, 8));
    retry(false);
    EXPECT_TRUE(noImage->telegramQueued());
}

TEST_F(QueuedRetryTest, UnsyncedPostsAreTheParsedPublicOnesNeverSent)
{
    const auto later = addPost(u"later"_s);
    later->setCreatedAt(now.addSecs(60));
    const auto owed = addPost(u"owed"_s);
    owed->setTelegramQueued(true);
    addPost(u"pending"_s)->setParseState(ParseState::pending);
    addPost(u"failed"_s)->setParseState(ParseState::failed);
    addPost(u"private"_s)->setIsPrivate(true);
    addPost(u"sent"_s)->setTelegramSyncedAt(now);
    settings.setBool(SettingsKey::telegramEnabled, false);
    EXPECT_EQ(unsyncedPosts(importer), (QList<std::shared_ptr<Post>>{owed, later}));
}

} // namespace
