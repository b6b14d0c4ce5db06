#include "ChannelFixture.h"
#include "KepselHooks.h"
#include "TelegramModule.h"

using namespace Qt::StringLiterals;

namespace {

class TelegramModuleTest : public HomeTest {
protected:
    ~TelegramModuleTest() override { Plugins::shared().setInstalled(TelegramSync::pluginID, false); }
    UserDefaults &settings = TamselStore::defaults();
};

TEST_F(TelegramModuleTest, AStoredTokenInstallsThePlugInOnceAndHooksAttachOnce)
{
    settings.setString(SettingsKey::telegramToken, u"  123:abc\t\n"_s);
    TelegramModule::registerModule();
    TelegramModule::registerModule();
    EXPECT_TRUE(TelegramModule::isInstalled());
    EXPECT_EQ(KepselHooks::postReady().size(), 1);
    EXPECT_EQ(Plugins::shared().available().count(TelegramModule::info()), 1);

    // An uninstall by the user sticks.
    Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    TelegramModule::registerModule();
    EXPECT_FALSE(TelegramModule::isInstalled());
}

TEST_F(TelegramModuleTest, WithoutATokenOnlyTheSetupLinkInstalls)
{
    settings.setString(SettingsKey::telegramToken, u" \n"_s);
    TelegramModule::registerModule();
    settings.setString(SettingsKey::telegramToken, u"123:abc"_s);
    TelegramModule::registerModule();
    EXPECT_FALSE(TelegramModule::isInstalled());
    TelegramModule::installFromSetupLink();
    EXPECT_TRUE(TelegramModule::isInstalled());
}

using TelegramHooksTest = ChannelTest;

// A token or chat pasted with spaces or a line break still counts.
TEST_F(TelegramHooksTest, TheChannelNeedsThePlugInSwitchTokenAndChat)
{
    settings.setString(SettingsKey::telegramToken, u" \t123:abc\r\n"_s);
    settings.setString(SettingsKey::telegramChatID, u"@channel\n"_s);
    ASSERT_TRUE(TelegramSync::config());
    EXPECT_EQ(std::pair(TelegramSync::config()->token, TelegramSync::config()->chatID),
              std::pair(u"123:abc"_s, u"@channel"_s));
    settings.setString(SettingsKey::telegramChatID, u" \t "_s);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, FakeBotAPI::chatID);
    Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    EXPECT_FALSE(TelegramSync::config());
}

TEST_F(TelegramHooksTest, FolderSyncKeepsTheLedgerInStep)
{
    TelegramModule::registerModule();
    const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
    TelegramLedger::set({7, 3}, Text::uuidText(a));
    TelegramLedger::set({5}, Text::uuidText(b));
    TelegramLedger::set({9}, Text::uuidText(c));
    KepselHooks::postIDChanged().first()(a, b);
    KepselHooks::postDeletedBySync().first()(c);
    EXPECT_EQ(TelegramLedger::all(), (QMap<QString, QList<qint64>>{{Text::uuidText(b), {3, 5, 7}}}));
    EXPECT_TRUE(bot.calls().isEmpty());
}

TEST_F(TelegramHooksTest, AnImportedPostReachesTheChannel)
{
    TelegramModule::registerModule();
    const QString site = u"127.0.0.2"_s;
    bot.server().page(site, u"/note/1"_s, R"(<head><meta property="og:title" content="一篇好文章"></head>)");
    const auto post =
        TestAsync::waitFor(importer.importText(bot.server().origin(site) + u"/note/1"_s, false));
    ASSERT_EQ(channel().size(), 1);
    EXPECT_TRUE(bot.channel().first().text.startsWith(u"<b>一篇好文章</b>"_s));
    EXPECT_EQ(post->telegramMessageIDs(), channel());
}

} // namespace
