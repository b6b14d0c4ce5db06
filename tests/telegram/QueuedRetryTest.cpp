#include "ChannelFixture.h"
#include "QueuedRetry.h"

using namespace Qt::StringLiterals;

namespace {

class QueuedRetryTest : public ChannelTest {
protected:
    std::shared_ptr<Post> queued(const QString &title, int hour)
    {
        auto post = addPost(title);
        post->setCreatedAt(now.addSecs(hour * 3600));
        post->setTelegramQueued(true);
        return post;
    }
    void retry(bool videos) { TestAsync::waitFor(retryQueuedTelegram(importer, videos)); }
    QStringList sentTitles() const
    {
        QStringList titles;
        for (const auto &call : bot.calls(u"sendMessage"_s))
            titles.append(call.field(u"text"_s).section(u"</b>"_s, 0, 0).mid(3));
        return titles;
    }
};

TEST_F(QueuedRetryTest, OwedPostsGoOldestFirstOnceTheirMediaAreInAndOneFailureStopsNothing)
{
    const auto nine = queued(u"nine"_s, 0);
    const auto eight = queued(u"eight"_s, -1);
    const auto ten = queued(u"ten"_s, 1);
    queued(u"sent before"_s, -2)->setTelegramSyncedAt(now);
    queued(u"hidden"_s, -3)->setIsPrivate(true);
    const auto noImage = queued(u"no image"_s, 2);
    PostMaker::add(noImage, MediaKind::image, std::nullopt)->setRemoteURL(u"https://example.com/a.jpg"_s);
    const auto noVideo = queued(u"no video"_s, 3);
    PostMaker::add(noVideo, MediaKind::video, PostMaker::png(8, 8))
        ->setVideoRemoteURL(u"https://example.com/a.mp4"_s);
    context.save();
    bot.script(u"sendMessage"_s,
               {std::nullopt, FakeBotAPI::json(R"({"ok":false,"description":"boom"})", 400)});

    retry(true);
    EXPECT_EQ(sentTitles(), (QStringList{u"eight"_s, u"nine"_s, u"ten"_s}));
    EXPECT_TRUE(nine->telegramQueued() && noVideo->telegramQueued());
    EXPECT_FALSE(eight->telegramQueued() || ten->telegramQueued());

    // Without video downloads a missing video file holds nothing back.
    retry(false);
    EXPECT_FALSE(nine->telegramQueued() || noVideo->telegramQueued());
    EXPECT_TRUE(noImage->telegramQueued());
    EXPECT_EQ(channel().size(), 4);
}

TEST_F(QueuedRetryTest, UnsyncedPostsAreTheParsedPublicOnesNeverSent)
{
    const auto later = addPost(u"later"_s);
    later->setCreatedAt(now.addSecs(60));
    const auto owed = queued(u"owed"_s, 0);
    addPost(u"failed"_s)->setParseState(ParseState::failed);
    addPost(u"private"_s)->setIsPrivate(true);
    addPost(u"sent"_s)->setTelegramSyncedAt(now);
    settings.setBool(SettingsKey::telegramEnabled, false);
    EXPECT_EQ(unsyncedPosts(importer), (QList<std::shared_ptr<Post>>{owed, later}));
}

} // namespace
