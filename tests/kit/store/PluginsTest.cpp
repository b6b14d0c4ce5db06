#include "Plugins.h"
#include "TamselStore.h"
#include "TestHome.h"

namespace {

const PluginInfo telegram{"telegram", "Telegram", "Send posts to a channel", "paperplane"};

class PluginsTest : public HomeTest {
protected:
    std::optional<QStringList> storedIDs()
    {
        return TamselStore::defaults().stringList(Plugins::installedKey);
    }
};

TEST_F(PluginsTest, KeepsFirstRegistrationWithLatestCallbackCalledAfterTheWriteAndOnlyOnChange)
{
    TamselStore::defaults().setStringList(Plugins::installedKey, {"zeta"});
    Plugins plugins;
    QStringList calls;
    plugins.registerPlugin(telegram, [&](bool) { calls << "old"; });
    plugins.registerPlugin({"telegram", "Renamed", "", ""}, [&](bool on) {
        calls << QStringLiteral("new %1 stored %2").arg(on).arg(Plugins::isInstalledInSettings("telegram"));
    });
    EXPECT_EQ(plugins.available(), QList<PluginInfo>({telegram}));

    plugins.setInstalled("telegram", true);
    plugins.setInstalled("Alpha", true);
    EXPECT_EQ(storedIDs(), QStringList({"Alpha", "telegram", "zeta"}));
    TamselStore::defaults().remove(Plugins::installedKey);
    plugins.setInstalled("telegram", true); // no change: no write, no call
    EXPECT_FALSE(storedIDs().has_value());

    plugins.setInstalled("telegram", false);
    EXPECT_EQ(calls, QStringList({"new 1 stored 1", "new 0 stored 0"}));
}

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
