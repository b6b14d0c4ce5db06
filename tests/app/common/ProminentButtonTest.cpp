#include "ProminentButton.h"
#include "Screenshot.h"
#include "Theme.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A cancel button and the main action, as the sheets place them.
struct ButtonRow {
    ButtonRow()
    {
        auto *layout = new QHBoxLayout(&window);
        layout->addWidget(cancel);
        layout->addWidget(save);
        window.show();
    }
    QImage face() const { return save->grab().toImage(); }

    QWidget window;
    QPushButton *cancel = new QPushButton(QStringLiteral("取消"));
    ProminentButton *save = new ProminentButton(QStringLiteral("收藏"));
};

// The fill beside the letters, and whether white letters show.
QColor fill(const QImage &face)
{
    return face.pixelColor(6, face.height() / 2);
}
bool lettered(const QImage &face)
{
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (face.pixelColor(x, y) == QColor(Qt::white))
                return true;
    return false;
}

TEST(ProminentButtonTest, AccentAndWhiteInEitherAppearanceDisabledFadedAndFocusShown)
{
    const struct LightAgain {
        ~LightAgain() { QApplication::setPalette(Theme::palette(Theme::Appearance::light)); }
    } lightAgain;
    QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    ButtonRow row;
    const QImage light = row.face();
    EXPECT_EQ(fill(light), Theme::accent().light());
    EXPECT_TRUE(lettered(light));
    EXPECT_EQ(row.save->height(), row.cancel->height()) << "lines up with its neighbour";
    row.save->setEnabled(false);
    EXPECT_NE(fill(row.face()), fill(light));
    EXPECT_FALSE(lettered(row.face()));
    row.save->setEnabled(true);

    row.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&row.window));
    QTest::mouseClick(row.save, Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), row.save);
    EXPECT_EQ(row.face(), light) << "a click brought the focus ring";
    QTest::mouseClick(row.cancel, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), row.save);
    EXPECT_NE(row.face(), light) << "focus not shown";
    QTest::mouseClick(row.save, Qt::LeftButton);
    EXPECT_EQ(row.face(), light) << "the ring stayed through a click";
    row.cancel->setFocus();

    QApplication::setPalette(Theme::palette(Theme::Appearance::dark));
    QCoreApplication::processEvents();
    ButtonRow fresh;
    fresh.window.resize(row.window.size());
    QCoreApplication::processEvents();
    EXPECT_EQ(fill(fresh.face()), Theme::accent().dark());
    EXPECT_TRUE(lettered(fresh.face()));
    EXPECT_EQ(row.face(), fresh.face()) << "follows a switch as if built anew";
    EXPECT_TRUE(saveScreenshot(fresh.window, QStringLiteral("prominent-button-dark")));
}

} // namespace
