#include "BackupSettings.h"
#include "ChannelFixture.h"
#include "NetworkError.h"
#include "SyncIncoming.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray refused = R"({"ok":false,"error_code":400,"description":"Bad Request: chat is busy"})";
const QByteArray rateLimited =
    R"({"ok":false,"error_code":429,"description":"Too Many Requests: retry after 75","parameters":{"retry_after":75}})";

class ChannelOperationsTest : public ChannelTest {
protected:
    // A message in the channel that only the ledger knows of, as a send cut
    // off before its post recorded it leaves behind.
    qint64 unrecordedMessage(const std::shared_ptr<Post> &post)
    {
        const TelegramSync client(*TelegramSync::config(), &NetworkSession::shared(), key(post));
        return TestAsync::waitFor(client.send({u"cut off"_s, {}})).first();
    }
};

TEST_F(ChannelOperationsTest, ASendIsRecordedAndAResendReplacesEveryEarlierMessage)
{
    const auto post = addPost(u"标题"_s);
    post->setTelegramQueued(true);
    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{100});
    EXPECT_EQ(post->telegramMessageIDs(), QList<qint64>{100});
    EXPECT_EQ(post->telegramSyncedAt(), now);
    EXPECT_FALSE(post->telegramQueued());
    EXPECT_EQ(TelegramLedger::ids(key(post)), QList<qint64>{100});
    EXPECT_FALSE(context.hasChanges());

    const qint64 leftOver = unrecordedMessage(post);
    now = now.addSecs(3600);
    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{102});
    EXPECT_EQ(post->telegramMessageIDs(), QList<qint64>{102});
    EXPECT_EQ(TelegramLedger::ids(key(post)), QList<qint64>{102});
    EXPECT_EQ(bot.calls(u"deleteMessages"_s).last().field(u"message_ids"_s), u"[100,%1]"_s.arg(leftOver));

    // A failed re-send changes nothing and reaches the caller.
    bot.script(u"sendMessage"_s, {FakeBotAPI::json(refused, 400)});
    now = now.addSecs(3600);
    EXPECT_EQ(syncFailure(post).text(), u"Bad Request: chat is busy"_s);
    EXPECT_EQ(channel(), QList<qint64>{102});
    EXPECT_EQ(post->telegramMessageIDs(), QList<qint64>{102});
    EXPECT_EQ(post->telegramSyncedAt(), now.addSecs(-3600));
    EXPECT_EQ(TelegramLedger::ids(key(post)), QList<qint64>{102});
    EXPECT_TRUE(telegramInFlight().isEmpty());
}

TEST_F(ChannelOperationsTest, RefusalsComeBeforeAnySend)
{
    const auto post = addPost(u"私密"_s);
    post->setIsPrivate(true);
    settings.setBool(SettingsKey::telegramEnabled, false);
    EXPECT_EQ(syncFailure(post).text(), u"还没有配置频道"_s);
    settings.setBool(SettingsKey::telegramEnabled, true);
    EXPECT_EQ(syncFailure(post).text(), u"隐私空间的收藏不同步到 Telegram"_s);
    EXPECT_TRUE(bot.calls().isEmpty());
}

TEST_F(ChannelOperationsTest, ASecondSendOfAPostInFlightIsTurnedAway)
{
    const auto post = addPost(u"两次"_s);
    auto first = syncToTelegram(importer, post);
    EXPECT_EQ(sync(post), TelegramSyncResult::alreadyRunning);
    EXPECT_EQ(TestAsync::waitFor(std::move(first)), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{100});
    EXPECT_EQ(post->telegramMessageIDs(), QList<qint64>{100});

    EXPECT_EQ(sync(post), TelegramSyncResult::sent);
    EXPECT_EQ(channel(), QList<qint64>{101});
}

TEST_F(ChannelOperationsTest, APostThatLeavesDuringItsSendTakesItsMessagesAlong)
{
    const auto deleted = addPost(u"删掉"_s);
    sync(deleted);
    const QDateTime firstSend = now;
    now = now.addSecs(60);
    bot.onCall([&](const FakeBotAPI::Call &call) {
        if (call.method == u"sendMessage"_s) {
            context.remove(deleted);
            context.save();
        }
    });
    EXPECT_EQ(sync(deleted), TelegramSyncResult::sent);
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
    EXPECT_EQ(deleted->telegramSyncedAt(), firstSend);

    const auto hidden = addPost(u"藏起来"_s);
    sync(hidden);
    bot.onCall([&](const FakeBotAPI::Call &call) {
        if (call.method == u"sendMessage"_s)
            hidden->setIsPrivate(true);
    });
    EXPECT_EQ(syncFailure(hidden).text(), u"隐私空间的收藏不同步到 Telegram"_s);
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
    EXPECT_EQ(hidden->telegramMessageIDs(), QList<qint64>{102});
    EXPECT_TRUE(telegramInFlight().isEmpty());
}

TEST_F(ChannelOperationsTest, APostThatLeavesWhileItsPayloadIsBuiltIsNeverSent)
{
    const auto post = addPost(u"图"_s, 1);
    post->setTelegramMessageIDs({55});
    auto task = syncToTelegram(importer, post);
    post->setIsPrivate(true);
    EXPECT_THROW(TestAsync::waitFor(std::move(task)), TelegramSync::SyncError);
    EXPECT_EQ(requests(u"sendPhoto"_s), 0);
    EXPECT_EQ(bot.calls(u"deleteMessages"_s).value(0).field(u"message_ids"_s), u"[55]"_s);

    const auto gone = addPost(u"也是图"_s, 1);
    auto second = syncToTelegram(importer, gone);
    context.remove(gone);
    EXPECT_EQ(TestAsync::waitFor(std::move(second)), TelegramSyncResult::sent);
    EXPECT_EQ(requests(u"sendPhoto"_s), 0);
}

TEST_F(ChannelOperationsTest, TheAutomaticSendRunsOnlyForNewParsedPostsOfThisDevice)
{
    struct Case {
        const char *name;
        std::function<void(Post &)> prepare;
        bool sends;
    };
    const QList<Case> cases = {
        {"a new parsed post", [](Post &) {}, true},
        {"no channel", [&](Post &) { settings.setBool(SettingsKey::telegramEnabled, false); }, false},
        {"switched off", [&](Post &) { settings.setBool(SettingsKey::telegramAutoSync, false); }, false},
        {"sent before", [&](Post &post) { post.setTelegramSyncedAt(now); }, false},
        {"still pending", [](Post &post) { post.setParseState(ParseState::pending); }, false},
        {"failed", [](Post &post) { post.setParseState(ParseState::failed); }, false},
        {"private", [](Post &post) { post.setIsPrivate(true); }, false},
        {"restored from a backup",
         [&](Post &) { settings.setNumber(Backup::restoredAtKey, now.toSecsSinceEpoch() + 1.0); }, false},
        {"arrived through sync", [](Post &post) { Sync::setIncomingPosts({Text::uuidText(post.id())}); },
         false},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.name);
        const auto post = addPost(QString::fromUtf8(each.name));
        each.prepare(*post);
        const auto before = bot.calls().size();
        TestAsync::waitFor(autoSyncIfNeeded(importer, post));
        EXPECT_EQ(bot.calls().size() > before, each.sends);
        EXPECT_EQ(post->telegramSyncedAt().has_value(),
                  each.sends || each.name == std::string("sent before"));
        EXPECT_FALSE(post->telegramQueued());

        settings.setBool(SettingsKey::telegramEnabled, true);
        settings.remove(SettingsKey::telegramAutoSync);
        settings.remove(Backup::restoredAtKey);
        Sync::setIncomingPosts({});
    }
}

TEST_F(ChannelOperationsTest, AFailedAutomaticSendIsLoggedAndStaysOwed)
{
    const auto post = addPost(u"稍后"_s);
    bot.script(u"sendMessage"_s, {FakeBotAPI::json(refused, 400)});
    LogCapture log;
    TestAsync::waitFor(autoSyncIfNeeded(importer, post));
    EXPECT_EQ(LogCapture::lines(),
              QStringList{u"telegram sync failed, will retry: Telegram：Bad Request: chat is busy"_s});
    EXPECT_TRUE(post->telegramQueued());
    EXPECT_FALSE(post->telegramSyncedAt());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(channel().isEmpty());
}

TEST_F(ChannelOperationsTest, AWithdrawalClearsThePostsEvenWhenTheDeleteFails)
{
    const auto post = addPost(u"撤回"_s);
    sync(post);
    bot.script(
        u"deleteMessages"_s,
        {FakeBotAPI::json(R"({"ok":false,"description":"Bad Request: message can't be deleted"})", 400)});
    EXPECT_THROW(TestAsync::waitFor(removeFromTelegram(importer, {post})), TelegramSync::SyncError);
    EXPECT_TRUE(post->telegramMessageIDs().isEmpty());
    EXPECT_FALSE(post->telegramSyncedAt());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
    EXPECT_EQ(channel(), QList<qint64>{100});

    // Without a channel the posts stay as they are.
    const auto kept = addPost(u"留着"_s);
    sync(kept);
    settings.setBool(SettingsKey::telegramEnabled, false);
    TestAsync::waitFor(removeFromTelegram(importer, {kept}));
    EXPECT_EQ(kept->telegramMessageIDs(), QList<qint64>{101});
    EXPECT_EQ(TelegramLedger::ids(key(kept)), QList<qint64>{101});
}

TEST_F(ChannelOperationsTest, ADeletionWithoutAnAnswerKeepsItsIdsForTheNextTry)
{
    const auto first = addPost(u"一"_s);
    const auto second = addPost(u"二"_s);
    sync(first);
    sync(second);
    cutOff();
    EXPECT_THROW(TestAsync::waitFor(removeFromTelegram(importer, {first})), NetworkError);
    EXPECT_EQ(TelegramLedger::ids(key(first)), QList<qint64>{100});
    reconnect();
    bot.script(u"deleteMessages"_s, {FakeBotAPI::json(rateLimited, 429)});
    EXPECT_THROW(TestAsync::waitFor(deleteFromTelegram({101, 5}, {key(second)})), TelegramSync::SyncError);
    EXPECT_EQ(TelegramLedger::ids(key(second)), (QList<qint64>{5, 101}));
    EXPECT_EQ(channel(), (QList<qint64>{100, 101}));

    LogCapture log;
    TestAsync::waitFor(deleteFromTelegram({101}, {key(first), key(second)}));
    EXPECT_EQ(LogCapture::lines(), QStringList{u"telegram delete 3 message(s)"_s});
    EXPECT_EQ(bot.calls(u"deleteMessages"_s).last().field(u"message_ids"_s), u"[5,100,101]"_s);
    EXPECT_TRUE(channel().isEmpty());
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

TEST_F(ChannelOperationsTest, ADeletionCutOffMidwayIsKeptOnRecord)
{
    const auto post = addPost(u"断线"_s);
    sync(post);
    FixtureServer::Reply dropped;
    dropped.drop = true;
    // The network layer may send again once on a fresh connection.
    bot.script(u"deleteMessages"_s, {dropped, dropped, dropped, dropped});
    EXPECT_THROW(TestAsync::waitFor(deleteFromTelegram({}, {key(post)})), NetworkError);
    EXPECT_EQ(TelegramLedger::ids(key(post)), QList<qint64>{100});
    EXPECT_EQ(channel(), QList<qint64>{100});
}

} // namespace
