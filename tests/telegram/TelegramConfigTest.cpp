#include "Plugins.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramSync.h"
#include "TestHome.h"

namespace {

class TelegramConfigTest : public HomeTest {
protected:
    void SetUp() override
    {
        Plugins::shared().setInstalled(TelegramSync::pluginID, true);
        settings.setBool(SettingsKey::telegramEnabled, true);
        settings.setString(SettingsKey::telegramToken, QStringLiteral("123:abc"));
        settings.setString(SettingsKey::telegramChatID, QStringLiteral("@channel"));
    }
    void TearDown() override { Plugins::shared().setInstalled(TelegramSync::pluginID, false); }

    UserDefaults &settings = TamselStore::defaults();
};

TEST_F(TelegramConfigTest, NeedsInstalledEnabledTokenAndChat)
{
    ASSERT_TRUE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, QStringLiteral(" \t "));
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, QStringLiteral("@channel"));
    settings.remove(SettingsKey::telegramToken);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramToken, QStringLiteral("123:abc"));
    settings.setBool(SettingsKey::telegramEnabled, false);
    EXPECT_FALSE(TelegramSync::config());
    settings.setBool(SettingsKey::telegramEnabled, true);
    Plugins::shared().setInstalled(TelegramSync::pluginID, false);
    EXPECT_FALSE(TelegramSync::config());
}

TEST_F(TelegramConfigTest, TokenAndChatAreTrimmedOfSpacesAndLineBreaks)
{
    settings.setString(SettingsKey::telegramToken, QStringLiteral(" \t123:abc\r\n"));
    settings.setString(SettingsKey::telegramChatID, QStringLiteral("@channel\n"));
    const auto config = TelegramSync::config();
    ASSERT_TRUE(config);
    EXPECT_EQ(config->token, QStringLiteral("123:abc"));
    EXPECT_EQ(config->chatID, QStringLiteral("@channel"));
}

TEST_F(TelegramConfigTest, AutoSyncIsOnUnlessStoredOff)
{
    EXPECT_TRUE(TelegramSync::autoSync());
    settings.setString(SettingsKey::telegramAutoSync, QStringLiteral("false"));
    EXPECT_TRUE(TelegramSync::autoSync());
    settings.setBool(SettingsKey::telegramAutoSync, false);
    EXPECT_FALSE(TelegramSync::autoSync());
}

} // namespace
