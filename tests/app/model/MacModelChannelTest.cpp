#include "FakeBotAPI.h"
#include "HostTable.h"
#include "ModelFixture.h"
#include "Plugins.h"
#include "SettingsKey.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

namespace {

// A model whose channel is the fake Bot API.
class MacModelChannelTest : public ModelTest {
protected:
    MacModelChannelTest()
    {
        Plugins::shared().setInstalled(TelegramSync::pluginID, true);
        settings.setBool(SettingsKey::telegramEnabled, true);
        settings.setString(SettingsKey::telegramToken, FakeBotAPI::token);
        settings.setString(SettingsKey::telegramChatID, FakeBotAPI::chatID);
        makeModel();
    }
    ~MacModelChannelTest() override
    {
        HostTable::clearOverrides();
        Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    }

    std::shared_ptr<Post> sentPost(const QString &link)
    {
        const auto post = addPost(link);
        TestAsync::waitFor(model->syncToTelegram(post));
        EXPECT_FALSE(post->telegramMessageIDs().isEmpty());
        return post;
    }
    void deleteForGood(const std::shared_ptr<Post> &post)
    {
        model->pendingDelete().start({post}, 5);
        model->pendingDelete().commit();
    }

    UserDefaults &settings = TamselStore::defaults();
    FakeBotAPI bot;
};

TEST_F(MacModelChannelTest, ADeletedPostTakesItsMessagesAlongAlsoWhenOnlyTheLedgerKnowsThem)
{
    const auto post = sentPost(QStringLiteral("https://127.0.0.1:9/cut-off"));
    // A send cut off before the post recorded its messages.
    post->setTelegramMessageIDs({});
    deleteForGood(post);
    EXPECT_TRUE(settle([&] { return bot.channel().isEmpty(); }));
    EXPECT_TRUE(TelegramLedger::all().isEmpty());

    settings.setBool(SettingsKey::telegramDeleteSync, false);
    deleteForGood(sentPost(QStringLiteral("https://127.0.0.1:9/kept")));
    idle();
    EXPECT_EQ(bot.channel().size(), 1);
    EXPECT_TRUE(TelegramLedger::all().isEmpty());
}

TEST_F(MacModelChannelTest, PrivatePostsLeaveTheChannel)
{
    settings.setBool(SettingsKey::telegramDeleteSync, false);
    const auto idsOnly = sentPost(QStringLiteral("https://127.0.0.1:9/a"));
    const auto ledgerOnly = sentPost(QStringLiteral("https://127.0.0.1:9/b"));
    idsOnly->setTelegramSyncedAt(std::nullopt);
    ledgerOnly->setTelegramMessageIDs({});
    model->setPrivate({idsOnly, ledgerOnly}, true);
    EXPECT_TRUE(settle([&] { return bot.channel().isEmpty(); }));
}

TEST_F(MacModelChannelTest, TheRepairCleansTheChannelUpOnlyWhileDeletesReachIt)
{
    // Deleted by other means than the model: its messages stay on record.
    const auto post = sentPost(QStringLiteral("https://127.0.0.1:9/gone"));
    context().remove(post);
    context().save();
    settings.setBool(SettingsKey::telegramDeleteSync, false);
    TestAsync::waitFor(model->repair());
    EXPECT_EQ(bot.channel().size(), 1);
    settings.remove(SettingsKey::telegramDeleteSync);
    TestAsync::waitFor(model->repair());
    EXPECT_TRUE(bot.channel().isEmpty());
}

} // namespace
