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

#include <QAbstractItemView>
#include <QApplication>
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

    static void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    // Opens the picker with a click and picks the entry with the keys, as a
    // user can.
    static void choose(QComboBox *picker, const QString &entry)
    {
        clickOn(picker);
        ASSERT_TRUE(picker->view()->isVisible());
        const int from = picker->view()->currentIndex().row();
        const int to = picker->findText(entry);
        ASSERT_GE(to, 0);
        for (int step = from; step != to; step += to > from ? 1 : -1)
            QTest::keyClick(QApplication::focusWidget(), to > from ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    MacModel model;
    MenuBarController menuBar{model};
};

TEST_F(GeneralSettingsTest, OnlyAnotherLanguageAsksToReopen)
{
    defaults().setStringList(languagesKey, {"en"});
    GeneralSettings view(menuBar);
    view.show();
    auto *picker = part<QComboBox>(view, "language");
    choose(picker, "English");
    EXPECT_FALSE(view.relaunchQuestion()) << "the language in use, chosen again";

    choose(picker, "中文");
    EXPECT_EQ(defaults().stringList(languagesKey), QStringList{"zh-Hans"});
    ASSERT_TRUE(view.relaunchQuestion());
    view.relaunchQuestion()->reject();
}

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

TEST_F(GeneralSettingsTest, TheTraySwitchInstallsAndRemovesTheTrayItemAndGatesTheDockSwitch)
{
    menuBar.install();
    {
        GeneralSettings view(menuBar);
        view.show();
        clickSwitch(part<QCheckBox>(view, "menuBar"));
        EXPECT_EQ(menuBar.item(), nullptr) << "the tray icon goes at once";
        EXPECT_FALSE(part<QCheckBox>(view, "hideDock")->isEnabled());
    }

    GeneralSettings reopened(menuBar);
    reopened.show();
    auto *hideDock = part<QCheckBox>(reopened, "hideDock");
    EXPECT_FALSE(hideDock->isEnabled()) << "still off when the settings open again";
    clickSwitch(hideDock);
    EXPECT_TRUE(MenuBarSettings::hidesDock()) << "a disabled switch keeps its value";
    clickSwitch(part<QCheckBox>(reopened, "menuBar"));
    EXPECT_NE(menuBar.item(), nullptr);
    EXPECT_TRUE(hideDock->isEnabled());
}

TEST_F(GeneralSettingsTest, TheBasketIsChosenUntilAnotherIconIsStoredExactly)
{
    {
        GeneralSettings fresh(menuBar);
        EXPECT_TRUE(part<IconChoice>(fresh, "icon:basket")->isChecked()) << "the default";
        EXPECT_FALSE(part<IconChoice>(fresh, "icon:glow")->isChecked());
    }
    defaults().setString("macAppIcon", "Glow");
    GeneralSettings view(menuBar);
    auto *glow = part<IconChoice>(view, "icon:glow");
    EXPECT_FALSE(glow->isChecked());
    EXPECT_FALSE(part<IconChoice>(view, "icon:basket")->isChecked());
    QTest::mouseClick(glow, Qt::LeftButton);
    EXPECT_EQ(defaults().string("macAppIcon"), "glow");
    EXPECT_TRUE(glow->isChecked());
}

} // namespace
