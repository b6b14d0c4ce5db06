#include "ChannelFixture.h"
#include "KepselHooks.h"
#include "TelegramModule.h"

using namespace Qt::StringLiterals;

namespace {

class TelegramModuleTest : public HomeTest {
protected:
    ~TelegramModuleTest() override { Plugins::shared().setInstalled(TelegramSync::pluginID, false); }

    static bool seen()
    {
        return TamselStore::defaults().boolValue(Plugins::seenKeyPrefix + TelegramSync::pluginID);
    }
};

TEST_F(TelegramModuleTest, AStoredTokenInstallsThePlugInOnceAndHooksAttachOnce)
{
    TamselStore::defaults().setString(SettingsKey::telegramToken, u"  123:abc\t\n"_s);
    TelegramModule::registerModule();
    TelegramModule::registerModule();
    EXPECT_TRUE(TelegramModule::isInstalled());
    EXPECT_TRUE(seen());
    EXPECT_EQ(KepselHooks::postReady().size(), 1);
    EXPECT_EQ(KepselHooks::postDeletedBySync().size(), 1);
    EXPECT_EQ(KepselHooks::postIDChanged().size(), 1);
    const auto &available = Plugins::shared().available();
    EXPECT_EQ(std::count(available.cbegin(), available.cend(), TelegramModule::info()), 1);
    EXPECT_EQ(TelegramModule::info().name, u"Telegram 频道同步"_s);

    // An uninstall by the user sticks.
    Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    TelegramModule::registerModule();
    EXPECT_FALSE(TelegramModule::isInstalled());
}

TEST_F(TelegramModuleTest, WithoutATokenOnlyTheSetupLinkInstalls)
{
    TamselStore::defaults().setString(SettingsKey::telegramToken, u" \n"_s);
    TelegramModule::registerModule();
    EXPECT_FALSE(TelegramModule::isInstalled());
    TamselStore::defaults().setString(SettingsKey::telegramToken, u"123:abc"_s);
    TelegramModule::registerModule();
    EXPECT_FALSE(TelegramModule::isInstalled());

    TelegramModule::installFromSetupLink();
    EXPECT_TRUE(TelegramModule::isInstalled());
    TelegramModule::installFromSetupLink();
    EXPECT_EQ(TamselStore::defaults().stringList(Plugins::installedKey), QStringList{TelegramSync::pluginID});
}

using TelegramHooksTest = ChannelTest;

TEST_F(TelegramHooksTest, FolderSyncKeepsTheLedgerInStep)
{
    TelegramModule::registerModule();
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    const QUuid c = QUuid::createUuid();
    TelegramLedger::set({7, 3}, Text::uuidText(a));
    TelegramLedger::set({5}, Text::uuidText(b));
    TelegramLedger::set({9}, Text::uuidText(c));

    KepselHooks::postIDChanged().first()(a, b);
    EXPECT_EQ(TelegramLedger::all(),
              (QMap<QString, QList<qint64>>{{Text::uuidText(b), {3, 5, 7}}, {Text::uuidText(c), {9}}}));
    KepselHooks::postDeletedBySync().first()(c);
    EXPECT_EQ(TelegramLedger::all().keys(), QStringList{Text::uuidText(b)});
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
    EXPECT_FALSE(post->telegramQueued());
}

} // namespace
