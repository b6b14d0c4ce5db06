#include "MacModel.h"
#include "MacSettingsView.h"
#include "MenuBarController.h"
#include "Plugins.h"
#include "Screenshot.h"
#include "TelegramModule.h"
#include "TestHome.h"
#include "WidgetPart.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {

class MacSettingsViewTest : public HomeTest {
protected:
    MacSettingsViewTest()
    {
        plugins.registerPlugin(TelegramModule::info(), {});
        plugins.setInstalled(TelegramModule::info().id, true);
    }

    static void show(MacSettingsView &window)
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // Selects the tab with a click on its label.
    static void clickTab(MacSettingsView &window, int index)
    {
        QTabBar *bar = window.tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(window.currentIndex(), index);
    }

    static QRect screenArea(const QWidget &window) { return window.screen()->availableGeometry(); }

    // Whether the widget can be seen from top to bottom, not cut by the
    // window or scrolled away.
    static bool inSight(const QWidget &widget)
    {
        const QRect visible = widget.visibleRegion().boundingRect();
        return visible.top() == 0 && visible.bottom() == widget.rect().bottom();
    }

    static QCheckBox *lastOption(const QWidget &window) { return part<QCheckBox>(window, "allowDuplicates"); }

    MacModel model;
    MenuBarController menuBar{model};
    Plugins plugins;
    MacSettingsView window{model, menuBar, plugins};
};

TEST_F(MacSettingsViewTest, TheWindowStaysOnTheScreenWhateverTabShows)
{
    show(window);
    // Opened low on the screen, as over a main window down there, with the short sync tab.
    const QRect area = screenArea(window);
    window.move(area.left() + 20, area.bottom() - window.frameGeometry().height());
    for (const int tab : {1, 2, 0, 1}) {
        clickTab(window, tab);
        EXPECT_TRUE(area.contains(window.frameGeometry())) << "tab " << tab;
        EXPECT_FALSE(qobject_cast<QScrollArea *>(window.currentWidget())->verticalScrollBar()->isVisible())
            << "a tab that fits has nothing to scroll";
        saveScreenshot(window, QStringLiteral("settings-tab-%1").arg(tab + 1));
    }
    EXPECT_TRUE(inSight(*lastOption(window)));
}

TEST_F(MacSettingsViewTest, ATabTallerThanTheScreenScrollsInsideTheWindow)
{
    // Large letters make the general tab taller than the screen.
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 4);
    QApplication::setFont(large);
    MacSettingsView tall(model, menuBar, plugins);
    QApplication::setFont(normal);
    show(tall);
    clickTab(tall, 1);
    EXPECT_TRUE(screenArea(tall).contains(tall.frameGeometry()));
    saveScreenshot(tall, QStringLiteral("settings-taller-than-the-screen"));

    auto *scroller = qobject_cast<QScrollArea *>(tall.currentWidget());
    ASSERT_TRUE(scroller);
    QCheckBox *last = lastOption(tall);
    EXPECT_FALSE(inSight(*last));
    scroller->ensureWidgetVisible(last);
    EXPECT_TRUE(inSight(*last)) << "the last option is scrolled to";
}

TEST_F(MacSettingsViewTest, ThePlugInsTabShrinksBackToItsListAfterAPage)
{
    show(window);
    clickTab(window, 2);
    const int listHeight = window.height();
    QTest::mouseClick(part<QPushButton>(window, "link:" + TelegramModule::info().id), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.height() > listHeight; }, 10000));
    QTest::mouseClick(part<QToolButton>(window, "back"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.height() == listHeight; }, 10000));
}

} // namespace
