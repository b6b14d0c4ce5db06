#include "Plugins.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramSync.h"
#include "TestHome.h"

using namespace Qt::StringLiterals;

namespace {

class TelegramConfigTest : public HomeTest {
protected:
    void SetUp() override
    {
        Plugins::shared().setInstalled(TelegramSync::pluginID, true);
        settings.setBool(SettingsKey::telegramEnabled, true);
        settings.setString(SettingsKey::telegramToken, u"123:abc"_s);
        settings.setString(SettingsKey::telegramChatID, u"@channel"_s);
    }
    void TearDown() override { Plugins::shared().setInstalled(TelegramSync::pluginID, false); }

    UserDefaults &settings = TamselStore::defaults();
};

TEST_F(TelegramConfigTest, NeedsInstalledEnabledTokenAndChat)
{
    ASSERT_TRUE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, u" \t "_s);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, u"@channel"_s);
    settings.remove(SettingsKey::telegramToken);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramToken, u"123:abc"_s);
    settings.setBool(SettingsKey::telegramEnabled, false);
    EXPECT_FALSE(TelegramSync::config());
    settings.setBool(SettingsKey::telegramEnabled, true);
    Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    EXPECT_FALSE(TelegramSync::config());
}

TEST_F(TelegramConfigTest, TokenAndChatAreTrimmedOfSpacesAndLineBreaks)
{
    settings.setString(SettingsKey::telegramToken, u" \t123:abc\r\n"_s);
    settings.setString(SettingsKey::telegramChatID, u"@channel\n"_s);
    const auto config = TelegramSync::config();
    ASSERT_TRUE(config);
    EXPECT_EQ(config->token, u"123:abc"_s);
    EXPECT_EQ(config->chatID, u"@channel"_s);
}

TEST_F(TelegramConfigTest, AutoSyncIsOnUnlessStoredOff)
{
    EXPECT_TRUE(TelegramSync::autoSync());
    settings.setBool(SettingsKey::telegramAutoSync, false);
    EXPECT_FALSE(TelegramSync::autoSync());
}

} // namespace
