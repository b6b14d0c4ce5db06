#include "AppLanguage.h"
#include "DockIcon.h"
#include "MenuBarSettings.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "WindowGeometry.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using ShellSettingsTest = HomeTest;

TEST_F(ShellSettingsTest, LanguageOverrideReadsItsFirstCodeAndRemovesItselfForSystem)
{
    UserDefaults &defaults = UserDefaults::standard();
    const std::pair<QStringList, AppLanguage::Value> cases[] = {
        {{QStringLiteral("en-GB"), QStringLiteral("zh-Hans")}, AppLanguage::en},
        {{QStringLiteral("fr")}, AppLanguage::system},
    };
    for (const auto &[languages, expected] : cases) {
        defaults.setStringList(QStringLiteral("AppleLanguages"), languages);
        EXPECT_EQ(AppLanguage::current(), expected) << languages.join(',').toStdString();
    }
    defaults.setString(QStringLiteral("AppleLanguages"), QStringLiteral("en"));
    EXPECT_EQ(AppLanguage::current(), AppLanguage::system);

    AppLanguage(AppLanguage::en).apply();
    EXPECT_EQ(defaults.stringList(QStringLiteral("AppleLanguages")), QStringList{QStringLiteral("en")});
    AppLanguage(AppLanguage::system).apply();
    EXPECT_FALSE(defaults.contains(QStringLiteral("AppleLanguages")));
}

TEST_F(ShellSettingsTest, EnglishIsLoadedOnlyWhenChosen)
{
    const auto installed = [] { return qApp->findChildren<QTranslator *>(); };
    AppLanguage(AppLanguage::zh).apply();
    AppLanguage::install(*qApp);
    EXPECT_TRUE(installed().isEmpty());

    AppLanguage(AppLanguage::en).apply();
    AppLanguage::install(*qApp);
    ASSERT_EQ(installed().size(), 1);
    EXPECT_EQ(QCoreApplication::translate("MenuBarController", "收藏失败"), QStringLiteral("Could not save"));
    QCoreApplication::removeTranslator(installed().first());
    delete installed().first();
}

TEST_F(ShellSettingsTest, DockIconTakesOnlyAnExactRawValue)
{
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setString(QStringLiteral("macAppIcon"), QStringLiteral("glow"));
    EXPECT_EQ(DockIcon::current(), DockIcon::glow);
    defaults.setString(QStringLiteral("macAppIcon"), QStringLiteral("Glow"));
    EXPECT_EQ(DockIcon::current(), DockIcon::basket);
}

TEST_F(ShellSettingsTest, MenuBarSettingsKeepStoredBoolsAndWriteTheLoginItem)
{
    EXPECT_TRUE(MenuBarSettings::enabled());
    UserDefaults::standard().setString(QStringLiteral("menuBarEnabled"), QStringLiteral("no"));
    EXPECT_TRUE(MenuBarSettings::enabled());
    UserDefaults::standard().setBool(QStringLiteral("menuBarEnabled"), false);
    EXPECT_FALSE(MenuBarSettings::enabled());

    MenuBarSettings::setLaunchAtLogin(true);
    EXPECT_TRUE(MenuBarSettings::launchesAtLogin());
    QFile entry(MenuBarSettings::loginItemPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\""))) << "a path with spaces stays one word";
}

TEST_F(ShellSettingsTest, GeometryComesBackAndABadStateFileGivesTheDefaultSize)
{
    QWidget first;
    WindowGeometry::restore(first);
    EXPECT_EQ(first.size(), QSize(WindowGeometry::defaultWidth, WindowGeometry::defaultHeight));
    first.setGeometry(40, 50, 900, 600);
    WindowGeometry::save(first);
    QWidget second;
    WindowGeometry::restore(second);
    EXPECT_EQ(second.size(), QSize(900, 600));

    QFile file(WindowGeometry::filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a geometry");
    file.close();
    QWidget third;
    WindowGeometry::restore(third);
    EXPECT_EQ(third.size(), QSize(WindowGeometry::defaultWidth, WindowGeometry::defaultHeight));
}

} // namespace
