#include "Plugins.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QSignalSpy>

namespace {

const PluginInfo telegram{"telegram", "Telegram", "Send posts to a channel", "paperplane"};

class PluginsTest : public HomeTest {
protected:
    UserDefaults &settings() { return TamselStore::defaults(); }
    std::optional<QStringList> storedIDs() { return settings().stringList(Plugins::installedKey); }
};

TEST_F(PluginsTest, StartsFromTheStoredInstalledList)
{
    settings().setStringList(Plugins::installedKey, {"telegram"});
    Plugins plugins;
    EXPECT_TRUE(plugins.isInstalled("telegram"));
    EXPECT_TRUE(plugins.available().isEmpty());

    settings().setString(Plugins::installedKey, "telegram");
    EXPECT_TRUE(Plugins().installed().isEmpty());
}

TEST_F(PluginsTest, RegisteringTwiceKeepsFirstDescriptionAndLatestCallback)
{
    Plugins plugins;
    QStringList calls;
    plugins.registerPlugin(telegram, [&](bool on) { calls << QStringLiteral("old %1").arg(on); });
    PluginInfo renamed = telegram;
    renamed.name = "Renamed";
    plugins.registerPlugin(renamed, [&](bool on) { calls << QStringLiteral("new %1").arg(on); });

    ASSERT_EQ(plugins.available().size(), 1);
    EXPECT_EQ(plugins.available().first(), telegram);
    plugins.setInstalled("telegram", true);
    EXPECT_EQ(calls, QStringList({"new 1"}));
}

TEST_F(PluginsTest, SetInstalledWritesSortedIdsBeforeCallingBackAndOnlyOnChange)
{
    Plugins plugins;
    QSignalSpy changes(&plugins, &Plugins::installedChanged);
    QList<bool> seenInSettings;
    plugins.registerPlugin(telegram,
                           [&](bool) { seenInSettings << Plugins::isInstalledInSettings("telegram"); });

    plugins.setInstalled("zeta", true);
    plugins.setInstalled("telegram", true);
    plugins.setInstalled("Alpha", true);
    EXPECT_EQ(storedIDs(), QStringList({"Alpha", "telegram", "zeta"}));
    EXPECT_EQ(seenInSettings, QList<bool>({true}));

    settings().remove(Plugins::installedKey);
    plugins.setInstalled("telegram", true);
    EXPECT_FALSE(storedIDs().has_value());
    EXPECT_EQ(seenInSettings.size(), 1);
    EXPECT_EQ(changes.count(), 3);

    plugins.setInstalled("telegram", false);
    plugins.setInstalled("zeta", false);
    plugins.setInstalled("Alpha", false);
    EXPECT_EQ(storedIDs(), QStringList());
    EXPECT_EQ(seenInSettings, QList<bool>({true, false}));
}

TEST_F(PluginsTest, InstallOnceOnlyActsTheFirstTimeAnIdIsSeen)
{
    Plugins plugins;
    plugins.installOnce("telegram", false);
    EXPECT_TRUE(settings().boolValue(Plugins::seenKeyPrefix + "telegram"));
    plugins.installOnce("telegram", true);
    EXPECT_FALSE(plugins.isInstalled("telegram"));

    plugins.installOnce("other", true);
    EXPECT_TRUE(plugins.isInstalled("other"));
    plugins.setInstalled("other", false);
    plugins.installOnce("other", true);
    EXPECT_FALSE(Plugins::isInstalledInSettings("other"));
}

} // namespace
