#include "Plugins.h"
#include "TestHome.h"

namespace {

using PluginsTest = HomeTest;

TEST_F(PluginsTest, InstallOnceOnlyActsTheFirstTimeAnIdIsSeen)
{
    Plugins plugins;
    plugins.installOnce("telegram", false);
    plugins.installOnce("telegram", true);
    EXPECT_FALSE(plugins.isInstalled("telegram"));

    plugins.installOnce("other", true);
    EXPECT_TRUE(plugins.isInstalled("other"));
    plugins.setInstalled("other", false); // the user's uninstall sticks
    plugins.installOnce("other", true);
    EXPECT_FALSE(Plugins::isInstalledInSettings("other"));
}

TEST_F(PluginsTest, RegisteringAnIdAgainKeepsItsFirstDescriptionAndTakesTheNewCallback)
{
    Plugins plugins;
    QStringList calls;
    plugins.registerPlugin({"telegram", "Telegram 频道同步", "first", "paperplane"},
                           [&](bool) { calls.append("first"); });
    plugins.registerPlugin({"telegram", "Telegram channel", "second", "gear"},
                           [&](bool) { calls.append("second"); });
    ASSERT_EQ(plugins.available().size(), 1);
    EXPECT_EQ(plugins.available().first().name, "Telegram 频道同步");
    EXPECT_EQ(plugins.available().first().summary, "first");
    plugins.setInstalled("telegram", true);
    EXPECT_EQ(calls, QStringList{"second"});
}

} // namespace
