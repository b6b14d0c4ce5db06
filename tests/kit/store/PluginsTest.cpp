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

} // namespace
