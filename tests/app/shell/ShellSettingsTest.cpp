#include "AppLanguage.h"
#include "DockIcon.h"
#include "InterfaceFont.h"
#include "MenuBarSettings.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "WindowGeometry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLocale>
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

TEST_F(ShellSettingsTest, TheChosenLanguageCoversQtsOwnTextsAndDatesAndEnglishIsLoadedOnlyWhenChosen)
{
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    AppLanguage(AppLanguage::en).apply();
    AppLanguage::install(*qApp);
    EXPECT_EQ(QCoreApplication::translate("MenuBarController", "收藏失败"), QStringLiteral("Could not save"));
    EXPECT_EQ(QCoreApplication::translate("MenuBarController", "已收藏，正在解析…"),
              QCoreApplication::translate("MacModel", "已收藏，正在解析…"))
        << "the tray's bubble and the toast say the same";
    EXPECT_EQ(cancel(), QStringLiteral("Cancel"));
    EXPECT_EQ(QLocale().language(), QLocale::English);

    // A second load replaces the first one's translators.
    AppLanguage(AppLanguage::zh).apply();
    AppLanguage::install(*qApp);
    EXPECT_EQ(QCoreApplication::translate("MenuBarController", "收藏失败"), QStringLiteral("收藏失败"));
    EXPECT_EQ(cancel(), QStringLiteral("取消"));
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 7), QStringLiteral("MMM d")), QStringLiteral("12月 7"));
}

// Whichever language the system speaks, an English interface draws its
// letters and punctuation from a Latin font, a Chinese one from a CJK font.
TEST_F(ShellSettingsTest, TheInterfaceFontIsTheOneOfTheInterfaceLanguage)
{
    const struct FontAgain {
        ~FontAgain() { QApplication::setFont(font); }
        QFont font = QApplication::font();
    } fontAgain;
    const auto drawnFamily = [](AppLanguage::Value language) {
        InterfaceFont::use(language);
        return QFontInfo(QApplication::font()).family();
    };
    const QString chinese = drawnFamily(AppLanguage::zh);
    const QString english = drawnFamily(AppLanguage::en);
    EXPECT_TRUE(QFontDatabase::writingSystems(chinese).contains(QFontDatabase::SimplifiedChinese))
        << chinese.toStdString();
    EXPECT_FALSE(QFontDatabase::writingSystems(english).contains(QFontDatabase::SimplifiedChinese))
        << english.toStdString();
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
