#include "BackupSettings.h"
#include "ChannelFixture.h"
#include "NetworkError.h"
#include "PoolHold.h"
#include "SyncIncoming.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray refused = R"({"ok":false,"description":"Bad Request: chat is busy"})";

using ChannelOperationsTest = ChannelTest;

TEST_F(ChannelOperationsTest, AResendReplacesEveryEarlierMessageAndAFailedOneChangesNothing)
{
    const auto post = addPost(u"标题"_s);
    post->setTelegramQueued(true);
    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_FALSE(post->telegramQueued() || context.hasChanges());

    // A message of a send cut off before the post recorded it.
    const TelegramSync client(*TelegramSync::config(), &NetworkSession::shared(), key(post));
    TestAsync::waitFor(client.send({u"cut off"_s, {}}));
    now = now.addSecs(3600);
    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{102});
    EXPECT_EQ(post->telegramMessageIDs(), QList<qint64>{102});
    EXPECT_EQ(TelegramLedger::all(), (QMap<QString, QList<qint64>>{{key(post), {102}}}));

    bot.script(u"sendMessage"_s, {FakeBotAPI::json(refused, 400)});
    const QDateTime sentAt = now;
    now = now.addSecs(3600);
    EXPECT_EQ(syncFailure(post), u"Bad Request: chat is busy"_s);
    EXPECT_EQ(channel(), QList<qint64>{102});
    EXPECT_EQ(post->telegramSyncedAt(), sentAt);
    EXPECT_EQ(TelegramLedger::ids(key(post)), QList<qint64>{102});
    EXPECT_TRUE(telegramInFlight().isEmpty());
}

TEST_F(ChannelOperationsTest, APrivatePostIsNeverSent)
{
    const auto post = addPost(u"私密"_s);
    post->setIsPrivate(true);
    EXPECT_EQ(syncFailure(post), u"隐私空间的收藏不同步到 Telegram"_s);
    EXPECT_TRUE(bot.calls().isEmpty());
}

TEST_F(ChannelOperationsTest, ASecondSendOfAPostInFlightIsTurnedAway)
{
    const auto post = addPost(u"两次"_s);
    auto first = syncToTelegram(importer, post);
    EXPECT_EQ(sync(post), TelegramSyncResult::alreadyRunning);
    EXPECT_EQ(TestAsync::waitFor(std::move(first)), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{100});
    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{101});
}

TEST_F(ChannelOperationsTest, APostThatLeavesDuringItsSendTakesItsMessagesAlong)
{
    const auto deleted = addPost(u"删掉"_s);
    const auto hidden = addPost(u"藏起来"_s);
    sync(deleted);
    sync(hidden);
    const auto whileSending = [&](std::function<void()> change) {
        bot.onCall([change](const FakeBotAPI::Call &call) {
            if (call.method == u"sendMessage"_s)
                change();
        });
    };
    whileSending([&] { context.remove(deleted); });
    EXPECT_EQ(sync(deleted), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{101});
    whileSending([&] { hidden->setIsPrivate(true); });
    EXPECT_EQ(syncFailure(hidden), u"隐私空间的收藏不同步到 Telegram"_s);
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
    EXPECT_EQ(hidden->telegramMessageIDs(), QList<qint64>{101});

    // Gone while its pictures are being prepared: nothing is sent at all.
    const auto pictured = addPost(u"图"_s, 1);
    // Else a fast worker may finish the pictures before the send looks.
    auto busyWorkers = std::make_unique<PoolHold>();
    auto building = syncToTelegram(importer, pictured);
    context.remove(pictured);
    busyWorkers.reset();
    EXPECT_EQ(TestAsync::waitFor(std::move(building)), TelegramSyncResult::sent);
    EXPECT_TRUE(bot.calls(u"sendPhoto"_s).isEmpty());
}

TEST_F(ChannelOperationsTest, TheAutomaticSendRunsOnlyForNewParsedPostsOfThisDevice)
{
    const QList<std::pair<const char *, std::function<void(Post &)>>> refusals = {
        {"private", [](Post &post) { post.setIsPrivate(true); }},
        {"restored",
         [&](Post &) { settings.setNumber(Backup::restoredAtKey, now.toSecsSinceEpoch() + 1.0); }},
        {"synced in", [](Post &post) { Sync::setIncomingPosts({Text::uuidText(post.id())}); }},
    };
    for (const auto &[name, prepare] : refusals) {
        SCOPED_TRACE(name);
        const auto post = addPost(QString::fromUtf8(name));
        prepare(*post);
        TestAsync::waitFor(autoSyncIfNeeded(importer, post));
        EXPECT_TRUE(bot.calls().isEmpty());
        EXPECT_FALSE(post->telegramQueued());
        settings.remove(Backup::restoredAtKey);
        Sync::setIncomingPosts({});
    }

    const auto post = addPost(u"新的"_s);
    bot.script(u"sendMessage"_s, {FakeBotAPI::json(refused, 400)});
    TestAsync::waitFor(autoSyncIfNeeded(importer, post));
    EXPECT_TRUE(post->telegramQueued());
    EXPECT_FALSE(context.hasChanges());
    TestAsync::waitFor(autoSyncIfNeeded(importer, post));
    EXPECT_FALSE(post->telegramQueued());
    EXPECT_EQ(channel(), post->telegramMessageIDs());
}

TEST_F(ChannelOperationsTest, AWithdrawalClearsThePostsEvenWhenTheDeletionFails)
{
    const auto first = addPost(u"一"_s);
    const auto second = addPost(u"二"_s);
    sync(first);
    sync(second);
    bot.script(
        u"deleteMessages"_s,
        {FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: message can't be deleted"})", 400)});
    EXPECT_THROW(TestAsync::waitFor(removeFromTelegram(importer, {first})), TelegramSync::SyncError);
    EXPECT_TRUE(first->telegramMessageIDs().isEmpty());
    EXPECT_FALSE(first->telegramSyncedAt() || context.hasChanges());
    EXPECT_EQ(TelegramLedger::all().keys(), QStringList{key(second)});

    // Without an answer, or asked to wait, the ids stay on record.
    cutOff();
    EXPECT_THROW(TestAsync::waitFor(deleteFromTelegram({100, 5}, {key(second)})), NetworkError);
    EXPECT_EQ(TelegramLedger::ids(key(second)), (QList<qint64>{5, 100, 101}));
    reconnect();
    bot.script(u"deleteMessages"_s,
               {FakeBotAPI::json(R"({"ok":false,"parameters":{"retry_after":75}})", 429)});
    EXPECT_THROW(TestAsync::waitFor(deleteFromTelegram({}, {key(second)})), TelegramSync::SyncError);
    EXPECT_EQ(TelegramLedger::ids(key(second)), (QList<qint64>{5, 100, 101}));

    TestAsync::waitFor(deleteFromTelegram({101}, {key(second)}));
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

} // namespace
