#include "ChannelCleanUp.h"
#include "ChannelFixture.h"

using namespace Qt::StringLiterals;

namespace {

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
    std::shared_ptr<Post> sentPost(const QList<qint64> &ids)
    {
        auto post = addPost(u"sent"_s);
        post->setTelegramMessageIDs(ids);
        post->setTelegramSyncedAt(now);
        context.save();
        return post;
    }
    void cleanUp() { TestAsync::waitFor(cleanUpTelegram(importer)); }
    QStringList deletions() const
    {
        QStringList batches;
        for (const auto &call : bot.calls(u"deleteMessages"_s))
            batches.append(call.field(u"message_ids"_s));
        return batches;
    }
};

TEST_F(ChannelCleanUpTest, EveryKindOfEntryIsBroughtInLineWithTheLibrary)
{
    const auto ids = messages(12);
    const QString missing = u"0F000000-0000-4000-8000-000000000001"_s;
    TelegramLedger::set({ids[0]}, u"not a post"_s);
    TelegramLedger::set({ids[1]}, u"{%1}"_s.arg(missing));
    const auto hidden = sentPost({ids[2]});
    hidden->setIsPrivate(true);
    context.save();
    TelegramLedger::set({ids[2], ids[3]}, key(hidden));
    TelegramLedger::set({ids[4]}, missing);
    const auto unfinished = addPost(u"never recorded"_s);
    TelegramLedger::set({ids[5]}, key(unfinished));
    const auto inLine = sentPost({ids[6]});
    TelegramLedger::set({ids[6]}, key(inLine));
    const auto doubled = sentPost({ids[8], ids[9]});
    TelegramLedger::set({ids[10], ids[7], ids[8], ids[9]}, key(doubled));

    LogCapture log;
    cleanUp();
    auto lines = LogCapture::lines();
    lines.sort();
    EXPECT_EQ(lines, (QStringList{u"telegram cleanup: 1 message(s) of a deleted post"_s,
                                  u"telegram cleanup: 2 duplicate message(s)"_s,
                                  u"telegram cleanup: 2 message(s) of a private post"_s}));
    auto batches = deletions();
    batches.sort();
    EXPECT_EQ(batches, (QStringList{u"[%1,%2]"_s.arg(ids[2]).arg(ids[3]), u"[%1]"_s.arg(ids[4]),
                                    u"[%1,%2]"_s.arg(ids[7]).arg(ids[10])}));
    EXPECT_EQ(TelegramLedger::all(),
              (QMap<QString, QList<qint64>>{
                  {key(unfinished), {ids[5]}}, {key(inLine), {ids[6]}}, {key(doubled), {ids[8], ids[9]}}}));
    EXPECT_EQ(hidden->telegramMessageIDs(), QList<qint64>{});
    EXPECT_FALSE(hidden->telegramSyncedAt());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(bot.channel().keys(), (QList<qint64>{ids[0], ids[1], ids[5], ids[6], ids[8], ids[9], ids[11]}));
}

TEST_F(ChannelCleanUpTest, PostsBeingSentAreLeftAlone)
{
    const auto ids = messages(2);
    const auto hidden = sentPost({});
    const auto resent = sentPost({ids[1]});
    TelegramLedger::set({ids[0]}, key(hidden));
    TelegramLedger::set({ids[1], 99}, key(resent));
    auto sendingHidden = syncToTelegram(importer, hidden);
    auto sendingResent = syncToTelegram(importer, resent);
    hidden->setIsPrivate(true);

    // Nothing to delete, so the walk ends before either send can.
    auto walk = cleanUpTelegram(importer);
    EXPECT_TRUE(walk.isReady());
    EXPECT_EQ(TelegramLedger::ids(key(hidden)), QList<qint64>{ids[0]});
    EXPECT_EQ(TelegramLedger::ids(key(resent)), (QList<qint64>{ids[1], 99}));
    EXPECT_ANY_THROW(TestAsync::waitFor(std::move(sendingHidden)));
    TestAsync::waitFor(std::move(sendingResent));
}

TEST_F(ChannelCleanUpTest, ADeletionThatGotNoAnswerIsTriedAgainNextTime)
{
    const auto ids = messages(3);
    const QString gone = u"0F000000-0000-4000-8000-000000000002"_s;
    TelegramLedger::set(ids, gone);
    cutOff();
    cleanUp();
    EXPECT_EQ(TelegramLedger::ids(gone), ids);
    reconnect();
    bot.script(
        u"deleteMessages"_s,
        {FakeBotAPI::json(R"({"ok":false,"description":"Too Many Requests","parameters":{"retry_after":90}})",
                          429)});
    cleanUp();
    EXPECT_EQ(TelegramLedger::ids(gone), ids);
    EXPECT_EQ(bot.channel().keys(), ids);

    // Messages too old to delete cannot come back: they leave the record.
    bot.script(
        u"deleteMessages"_s,
        {FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: message can't be deleted"})", 400)});
    cleanUp();
    EXPECT_TRUE(TelegramLedger::all().isEmpty());

    TelegramLedger::set(ids, gone);
    cleanUp();
    EXPECT_TRUE(bot.channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

TEST_F(ChannelCleanUpTest, WithoutAChannelTheLedgerIsNotTouched)
{
    settings.setBool(SettingsKey::telegramEnabled, false);
    TelegramLedger::set({1}, u"not a post"_s);
    cleanUp();
    EXPECT_EQ(TelegramLedger::ids(u"not a post"_s), QList<qint64>{1});
}

} // namespace
