#include "ChannelCleanUp.h"
#include "ChannelFixture.h"

using namespace Qt::StringLiterals;

namespace {

const QString missing = u"0F000000-0000-4000-8000-000000000001"_s;

class ChannelCleanUpTest : public ChannelTest {
protected:
    // Messages standing in the channel, recorded nowhere yet.
    QList<qint64> messages(int count)
    {
        const TelegramSync client(*TelegramSync::config(), &NetworkSession::shared(), std::nullopt);
        QList<qint64> ids;
        for (int i = 0; i < count; ++i)
            ids += TestAsync::waitFor(client.send({u"message"_s, {}}));
        return ids;
    }
    std::shared_ptr<Post> sentPost(const QList<qint64> &held, const QList<qint64> &recorded)
    {
        auto post = addPost(u"sent"_s);
        post->setTelegramMessageIDs(held);
        post->setTelegramSyncedAt(now);
        context.save();
        TelegramLedger::set(recorded, key(post));
        return post;
    }
    void cleanUp() { TestAsync::waitFor(cleanUpTelegram(importer)); }
};

TEST_F(ChannelCleanUpTest, EveryKindOfEntryIsBroughtInLineWithTheLibrary)
{
    const auto ids = messages(12);
    TelegramLedger::set({ids[0]}, u"not a post"_s);
    TelegramLedger::set({ids[1]}, u"{%1}"_s.arg(missing));
    TelegramLedger::set({ids[11]}, u"0G000000-0000-4000-8000-000000000001"_s);
    const auto hidden = sentPost({ids[2]}, {ids[2], ids[3]});
    hidden->setIsPrivate(true);
    TelegramLedger::set({ids[4]}, missing);
    const auto unfinished = addPost(u"never recorded"_s);
    TelegramLedger::set({ids[5]}, key(unfinished));
    const auto inLine = sentPost({ids[6]}, {ids[6]});
    const auto doubled = sentPost({ids[8], ids[9]}, {ids[10], ids[7], ids[8], ids[9]});

    cleanUp();
    auto batches = deletions();
    batches.sort();
    EXPECT_EQ(batches, (QStringList{u"[%1,%2]"_s.arg(ids[2]).arg(ids[3]), u"[%1]"_s.arg(ids[4]),
                                    u"[%1,%2]"_s.arg(ids[7]).arg(ids[10])}));
    EXPECT_EQ(TelegramLedger::all(),
              (QMap<QString, QList<qint64>>{
                  {key(unfinished), {ids[5]}}, {key(inLine), {ids[6]}}, {key(doubled), {ids[8], ids[9]}}}));
    EXPECT_TRUE(hidden->telegramMessageIDs().isEmpty());
    EXPECT_FALSE(hidden->telegramSyncedAt() || context.hasChanges());
    EXPECT_EQ(channel(), (QList<qint64>{ids[0], ids[1], ids[5], ids[6], ids[8], ids[9], ids[11]}));
}

TEST_F(ChannelCleanUpTest, PostsBeingSentAreLeftAlone)
{
    const auto hidden = sentPost({}, {7});
    const auto resent = sentPost({8}, {8, 9});
    auto sendingHidden = syncToTelegram(importer, hidden);
    auto sendingResent = syncToTelegram(importer, resent);
    hidden->setIsPrivate(true);

    // Nothing to delete, so the walk ends before either send can.
    EXPECT_TRUE(cleanUpTelegram(importer).isReady());
    EXPECT_EQ(TelegramLedger::ids(key(hidden)), QList<qint64>{7});
    EXPECT_EQ(TelegramLedger::ids(key(resent)), (QList<qint64>{8, 9}));
    EXPECT_ANY_THROW(TestAsync::waitFor(std::move(sendingHidden)));
    TestAsync::waitFor(std::move(sendingResent));
}

TEST_F(ChannelCleanUpTest, APostDeletedDuringTheWalkCountsAsDeleted)
{
    const auto ids = messages(2);
    const QString walkedFirst = u"00000000-0000-4000-8000-000000000001"_s;
    TelegramLedger::set({ids[0]}, walkedFirst);
    const auto later = sentPost({ids[1]}, {ids[1]});
    bot.onCall([&](const FakeBotAPI::Call &call) {
        if (call.method == u"deleteMessages"_s)
            context.remove(later);
    });
    cleanUp();
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

TEST_F(ChannelCleanUpTest, ADeletionThatGotNoAnswerIsTriedAgainNextTime)
{
    const auto ids = messages(3);
    TelegramLedger::set(ids, missing);
    cutOff();
    cleanUp();
    EXPECT_EQ(TelegramLedger::ids(missing), ids);
    reconnect();
    bot.script(u"deleteMessages"_s,
               {FakeBotAPI::json(R"({"ok":false,"parameters":{"retry_after":90}})", 429)});
    cleanUp();
    EXPECT_EQ(TelegramLedger::ids(missing), ids);
    cleanUp();
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());

    // Messages too old to delete cannot come back: they leave the record.
    TelegramLedger::set({ids[0]}, missing);
    bot.script(
        u"deleteMessages"_s,
        {FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: message can't be deleted"})", 400)});
    cleanUp();
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

} // namespace
