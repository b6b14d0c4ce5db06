#include "ChannelFixture.h"

using namespace Qt::StringLiterals;

namespace {

using TelegramConfigTest = ChannelTest;

TEST_F(TelegramConfigTest, NeedsInstalledEnabledTokenAndChat)
{
    ASSERT_TRUE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, u" \t "_s);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramChatID, FakeBotAPI::chatID);
    settings.remove(SettingsKey::telegramToken);
    EXPECT_FALSE(TelegramSync::config());
    settings.setString(SettingsKey::telegramToken, FakeBotAPI::token);
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

} // namespace
