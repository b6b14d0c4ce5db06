#include "ProminentButton.h"
#include "Screenshot.h"
#include "Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A cancel button and the main action, as the sheets place them.
struct ButtonRow {
    ButtonRow()
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(cancel);
        layout->addWidget(save);
        window.show();
        QCoreApplication::processEvents();
    }

    QWidget window;
    QPushButton *cancel = new QPushButton(QStringLiteral("取消"));
    ProminentButton *save = new ProminentButton(QStringLiteral("收藏"));
};

// The button's face beside its letters.
QColor faceColor(const QImage &button)
{
    return button.pixelColor(6, button.height() / 2);
}

bool showsWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::white))
                return true;
    return false;
}

class ProminentButtonTest : public ::testing::Test {
protected:
    ProminentButtonTest() { setAppearance(Theme::Appearance::light); }
    ~ProminentButtonTest() override { setAppearance(Theme::Appearance::light); }

    static void setAppearance(Theme::Appearance appearance)
    {
        QApplication::setPalette(Theme::palette(appearance));
        QCoreApplication::processEvents();
    }
};

TEST_F(ProminentButtonTest, AccentWithWhiteLettersInEitherAppearanceAndAfterASwitch)
{
    ButtonRow row;
    const QImage light = row.save->grab().toImage();
    EXPECT_EQ(faceColor(light), Theme::accent().light());
    EXPECT_TRUE(showsWhite(light));
    EXPECT_EQ(row.save->height(), row.cancel->height()) << "lines up with its neighbour";

    setAppearance(Theme::Appearance::dark);
    const QImage switched = row.save->grab().toImage();
    ButtonRow fresh;
    fresh.window.resize(row.window.size());
    QCoreApplication::processEvents();
    const QImage dark = fresh.save->grab().toImage();
    EXPECT_TRUE(saveScreenshot(fresh.window, QStringLiteral("prominent-button-dark")));
    EXPECT_EQ(faceColor(dark), Theme::accent().dark());
    EXPECT_TRUE(showsWhite(dark));
    EXPECT_EQ(switched, dark);
}

TEST_F(ProminentButtonTest, DisabledLooksDisabledAndKeyboardFocusShows)
{
    ButtonRow row;
    const QImage enabled = row.save->grab().toImage();
    row.save->setEnabled(false);
    const QImage disabled = row.save->grab().toImage();
    EXPECT_NE(faceColor(disabled), faceColor(enabled));
    EXPECT_FALSE(showsWhite(disabled));
    row.save->setEnabled(true);

    row.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&row.window));
    row.cancel->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), row.save);
    const QImage focused = row.save->grab().toImage();
    EXPECT_NE(focused, enabled);
    EXPECT_TRUE(saveScreenshot(row.window, QStringLiteral("prominent-button-focused")));
}

} // namespace
