#include "Plugins.h"
#include "ProminentButton.h"
#include "PluginsSettings.h"
#include "Screenshot.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramModule.h"
#include "TelegramSettings.h"
#include "TestHome.h"
#include "Theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

double luminance(const QColor &color)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

// The contrast of a button's reddest pixel with the fill behind it.
double redTextContrast(const QImage &button)
{
    const auto redness = [](const QColor &color) {
        return color.red() - std::max(color.green(), color.blue());
    };
    QPoint reddest;
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x)
            if (redness(button.pixelColor(x, y)) > redness(button.pixelColor(reddest)))
                reddest = {x, y};
    const QColor red = button.pixelColor(reddest);
    // The fill's shade changes from top to bottom only.
    const QColor fill = button.pixelColor(button.width() / 8, reddest.y());
    const auto [dark, light] = std::minmax({luminance(red), luminance(fill)});
    return (light + 0.05) / (dark + 0.05);
}

class PluginsSettingsTest : public HomeTest {
protected:
    PluginsSettingsTest() { view.resize(540, 400); }

    QPushButton *button(const QString &name)
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return view.findChild<QPushButton *>(name);
    }

    TelegramSettings *openTelegram()
    {
        plugins.registerPlugin(telegram, {});
        plugins.setInstalled(telegram.id, true);
        QTest::mouseClick(button(QStringLiteral("link:telegram")), Qt::LeftButton);
        return qobject_cast<TelegramSettings *>(view.page());
    }

    const PluginInfo &telegram = TelegramModule::info();
    Plugins plugins;
    PluginsSettings view{plugins};
};

TEST_F(PluginsSettingsTest, InstallingTurnsTheRowIntoALinkToItsPage)
{
    std::optional<bool> reaction;
    plugins.registerPlugin(telegram, [&](bool on) { reaction = on; });
    ASSERT_TRUE(button("install:telegram"));
    EXPECT_TRUE(qobject_cast<ProminentButton *>(button("install:telegram")));
    EXPECT_FALSE(button("link:telegram"));

    QTest::mouseClick(button("install:telegram"), Qt::LeftButton);
    EXPECT_EQ(reaction, true);
    EXPECT_TRUE(Plugins::isInstalledInSettings(telegram.id));
    EXPECT_FALSE(button("install:telegram"));
    ASSERT_TRUE(button("link:telegram"));
    view.show();
    saveScreenshot(view, "settings-plugins");

    QTest::mouseClick(button("link:telegram"), Qt::LeftButton);
    EXPECT_TRUE(qobject_cast<TelegramSettings *>(view.page()));
    view.back();
    EXPECT_EQ(view.page(), nullptr);

    // A plug-in without a page of its own leads to an empty one.
    const PluginInfo other{"other", "Other", "Something else", "globe"};
    plugins.registerPlugin(other, {});
    plugins.setInstalled(other.id, true);
    QTest::mouseClick(button("link:other"), Qt::LeftButton);
    ASSERT_TRUE(view.page());
    EXPECT_FALSE(qobject_cast<TelegramSettings *>(view.page()));
}

TEST_F(PluginsSettingsTest, TheTelegramPageStoresWhatIsTypedAndMasksTheToken)
{
    TelegramSettings *page = openTelegram();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->tokenField()->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(page->enabledSwitch()->isChecked());
    EXPECT_TRUE(page->deleteSyncSwitch()->isChecked()) << "on in a fresh install";

    QTest::keyClicks(page->tokenField(), " 123:abc ");
    QTest::keyClicks(page->chatField(), " @kanal");
    page->enabledSwitch()->click();
    page->deleteSyncSwitch()->click();

    UserDefaults &defaults = TamselStore::defaults();
    EXPECT_EQ(defaults.string(SettingsKey::telegramToken), " 123:abc ");
    EXPECT_EQ(defaults.string(SettingsKey::telegramChatID), " @kanal");
    EXPECT_EQ(defaults.object(SettingsKey::telegramEnabled), QVariant(true));
    EXPECT_EQ(defaults.object(SettingsKey::telegramDeleteSync), QVariant(false));
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther;
    ASSERT_TRUE(QFileInfo::exists(defaults.filePath()));
    EXPECT_FALSE(QFileInfo(defaults.filePath()).permissions() & others) << "the token is its owner's only";
    view.show();
    saveScreenshot(view, "settings-telegram");
}

TEST_F(PluginsSettingsTest, UninstallingAsksFirstAndKeepsTheSettings)
{
    TelegramSettings *page = openTelegram();
    ASSERT_TRUE(page);
    QTest::keyClicks(page->tokenField(), "123:abc");
    QTest::keyClicks(page->chatField(), "@kanal");

    page->uninstallButton()->click();
    ASSERT_TRUE(page->confirmation());
    page->confirmation()->button(QMessageBox::Cancel)->click();
    EXPECT_TRUE(plugins.isInstalled(telegram.id));

    page->uninstallButton()->click();
    QMessageBox *confirmation = page->confirmation();
    ASSERT_TRUE(confirmation);
    QAbstractButton *uninstall = nullptr;
    for (QAbstractButton *candidate : confirmation->buttons())
        if (confirmation->buttonRole(candidate) == QMessageBox::DestructiveRole)
            uninstall = candidate;
    ASSERT_TRUE(uninstall);
    uninstall->click();

    EXPECT_FALSE(plugins.isInstalled(telegram.id));
    EXPECT_EQ(view.page(), nullptr);
    ASSERT_TRUE(button("install:telegram"));

    QTest::mouseClick(button("install:telegram"), Qt::LeftButton);
    QTest::mouseClick(button("link:telegram"), Qt::LeftButton);
    page = qobject_cast<TelegramSettings *>(view.page());
    ASSERT_TRUE(page);
    EXPECT_EQ(page->tokenField()->text(), "123:abc");
    EXPECT_EQ(page->chatField()->text(), "@kanal");
}

// The colour the plug-in's summary is drawn in, in the view's shown row.
QColor summaryColor(const QWidget &view, const PluginInfo &info)
{
    for (const QLabel *label : view.findChildren<QLabel *>())
        if (label->text() == info.summary && label->isVisibleTo(&view))
            return label->palette().color(label->foregroundRole());
    return {};
}

TEST_F(PluginsSettingsTest, TheSummaryStaysSecondaryOnceInstalledAlsoAfterASwitch)
{
    const struct LightAgain {
        ~LightAgain() { QApplication::setPalette(Theme::palette(Theme::Appearance::light)); }
    } lightAgain;
    QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    plugins.registerPlugin(telegram, {});
    view.show();
    saveScreenshot(view, "settings-plugins-install");
    QTest::mouseClick(button("install:telegram"), Qt::LeftButton);
    QCoreApplication::processEvents(); // shows the rebuilt list
    EXPECT_EQ(summaryColor(view, telegram), Theme::secondaryText(QApplication::palette()));

    QApplication::setPalette(Theme::palette(Theme::Appearance::dark));
    QCoreApplication::processEvents();
    PluginsSettings fresh{plugins};
    fresh.show();
    EXPECT_EQ(summaryColor(view, telegram), Theme::secondaryText(QApplication::palette()));
    EXPECT_EQ(summaryColor(view, telegram), summaryColor(fresh, telegram));
}

// The uninstall button's red reads on the button in either appearance, and a
// page switched to the other appearance paints as one opened in it.
TEST_F(PluginsSettingsTest, TheUninstallButtonsRedReadsInEitherAppearanceAndFollowsASwitch)
{
    const struct LightAgain {
        ~LightAgain() { QApplication::setPalette(Theme::palette(Theme::Appearance::light)); }
    } lightAgain;
    QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    TelegramSettings *page = openTelegram();
    ASSERT_TRUE(page);
    view.show();
    const QImage light = page->uninstallButton()->grab().toImage();

    QApplication::setPalette(Theme::palette(Theme::Appearance::dark));
    QCoreApplication::processEvents();
    const QImage switched = page->uninstallButton()->grab().toImage();
    PluginsSettings fresh{plugins};
    fresh.resize(view.size());
    QTest::mouseClick(fresh.findChild<QPushButton *>(QStringLiteral("link:telegram")), Qt::LeftButton);
    auto *freshPage = qobject_cast<TelegramSettings *>(fresh.page());
    ASSERT_TRUE(freshPage);
    fresh.show();
    const QImage dark = freshPage->uninstallButton()->grab().toImage();
    saveScreenshot(fresh, "settings-telegram-dark");

    EXPECT_GE(redTextContrast(light), 4.5);
    EXPECT_GE(redTextContrast(dark), 4.5);
    EXPECT_EQ(switched, dark);
}

} // namespace
