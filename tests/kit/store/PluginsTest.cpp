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

TEST_F(PluginsTest, StartsFromStoredListAndKeepsFirstRegistrationWithLatestCallback)
{
    settings().setStringList(Plugins::installedKey, {"other"});
    Plugins plugins;
    EXPECT_TRUE(plugins.isInstalled("other"));

    QStringList calls;
    plugins.registerPlugin(telegram, [&](bool on) { calls << QStringLiteral("old %1").arg(on); });
    plugins.registerPlugin({"telegram", "Renamed", "", ""},
                           [&](bool on) { calls << QStringLiteral("new %1").arg(on); });
    EXPECT_EQ(plugins.available(), QList<PluginInfo>({telegram}));
    plugins.setInstalled("telegram", true);
    EXPECT_EQ(calls, QStringList({"new 1"}));
}

TEST_F(PluginsTest, SetInstalledWritesSortedIdsBeforeCallingBackAndOnlyOnChange)
{
    Plugins plugins;
    QSignalSpy changes(&plugins, &Plugins::installedChanged);
    QList<bool> storedWhenCalled;
    plugins.registerPlugin(telegram,
                           [&](bool) { storedWhenCalled << Plugins::isInstalledInSettings("telegram"); });

    for (const char *id : {"zeta", "telegram", "Alpha"})
        plugins.setInstalled(id, true);
    EXPECT_EQ(storedIDs(), QStringList({"Alpha", "telegram", "zeta"}));
    EXPECT_EQ(storedWhenCalled, QList<bool>({true}));

    settings().remove(Plugins::installedKey);
    plugins.setInstalled("telegram", true); // no change: no write, no call
    EXPECT_FALSE(storedIDs().has_value());
    EXPECT_EQ(changes.count(), 3);

    for (const char *id : {"telegram", "zeta", "Alpha"})
        plugins.setInstalled(id, false);
    EXPECT_EQ(storedIDs(), QStringList());
    EXPECT_EQ(storedWhenCalled, QList<bool>({true, false}));
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
