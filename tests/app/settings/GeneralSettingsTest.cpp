#include "BackupFolder.h"
#include "GeneralSettings.h"
#include "IconChoice.h"
#include "MacModel.h"
#include "MacSettingsView.h"
#include "MenuBarController.h"
#include "MenuBarSettings.h"
#include "Plugins.h"
#include "Screenshot.h"
#include "TamselStore.h"
#include "TelegramModule.h"
#include "TestHome.h"
#include "WidgetPart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

const QString languagesKey = QStringLiteral("AppleLanguages");

class GeneralSettingsTest : public HomeTest {
protected:
    static UserDefaults &defaults() { return TamselStore::defaults(); }

    MacModel model;
    MenuBarController menuBar{model};
};

TEST_F(GeneralSettingsTest, TheLanguagePickerShowsTheStoredOverrideAndWritesTheChoice)
{
    defaults().setStringList(languagesKey, {"en"});
    GeneralSettings view(menuBar);
    auto *picker = part<QComboBox>(view, "language");
    picker->setCurrentIndex(0);
    emit picker->activated(0);
    EXPECT_FALSE(defaults().contains(languagesKey)) << "following the system removes the override";
    ASSERT_TRUE(view.relaunchQuestion());

    picker->setCurrentIndex(1);
    emit picker->activated(1);
    EXPECT_EQ(defaults().stringList(languagesKey), QStringList{"zh-Hans"});
}

TEST_F(GeneralSettingsTest, TheLoginSwitchFollowsTheAutostartFile)
{
    GeneralSettings view(menuBar);
    auto *login = part<QCheckBox>(view, "launchAtLogin");
    login->click();
    EXPECT_TRUE(QFileInfo::exists(MenuBarSettings::loginItemPath()));
    login->click();
    EXPECT_FALSE(QFileInfo::exists(MenuBarSettings::loginItemPath()));

    // A file where the autostart folder should be: the entry cannot be written.
    const QString folder = QFileInfo(MenuBarSettings::loginItemPath()).path();
    QDir(folder).removeRecursively();
    QFile(folder).open(QIODevice::WriteOnly);
    login->click();
    EXPECT_FALSE(login->isChecked()) << "back to the real state";
    EXPECT_TRUE(shows(view, "loginError")) << "the reason stays in sight";
    EXPECT_EQ(part<QLabel>(view, "loginError")->text(), QStringLiteral("无法写入登录项：已有同名的文件"));
    QFile::remove(folder);
}

TEST_F(GeneralSettingsTest, TheMenuBarSwitchInstallsTheTrayItemAndGatesTheDockSwitch)
{
    defaults().setBool("menuBarHideDock", false);
    GeneralSettings view(menuBar);
    auto *tray = part<QCheckBox>(view, "menuBar");
    auto *hideDock = part<QCheckBox>(view, "hideDock");
    tray->click();
    EXPECT_EQ(menuBar.item(), nullptr);
    EXPECT_FALSE(hideDock->isEnabled());
    tray->click();
    EXPECT_NE(menuBar.item(), nullptr);
}

TEST_F(GeneralSettingsTest, OnlyAnExactlyStoredIconIsShownAsChosen)
{
    defaults().setString("macAppIcon", "Glow");
    GeneralSettings view(menuBar);
    auto *glow = part<IconChoice>(view, "icon:glow");
    EXPECT_FALSE(glow->isChecked());
    QTest::mouseClick(glow, Qt::LeftButton);
    EXPECT_EQ(defaults().string("macAppIcon"), "glow");
}

TEST_F(GeneralSettingsTest, TheWindowShowsTheThreeTabs)
{
    const QString folder = home.path() + "/shared";
    QDir().mkpath(folder);
    BackupFolder::setFolder(folder);
    Plugins plugins;
    plugins.registerPlugin(TelegramModule::info(), {});
    MacSettingsView window(model, menuBar, plugins);
    ASSERT_EQ(window.count(), 3);
    window.show();
    for (int tab = 0; tab < window.count(); ++tab) {
        window.setCurrentIndex(tab);
        saveScreenshot(window, QStringLiteral("settings-tab-%1").arg(tab + 1));
    }
}

} // namespace
