#include "Chip.h"
#include "HexColor.h"
#include "PlatformBadge.h"
#include "Screenshot.h"
#include "Toast.h"
#include "UndoBar.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Whether some pixel of the picture is close to the colour.
bool shows(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && std::abs(pixel.red() - color.red()) < 24 &&
                std::abs(pixel.green() - color.green()) < 24 && std::abs(pixel.blue() - color.blue()) < 24)
                return true;
        }
    return false;
}

TEST(CapsuleViewsTest, ToastAndUndoBar)
{
    Toast toast(QStringLiteral("已收藏，正在解析…"));
    toast.show();
    EXPECT_TRUE(saveScreenshot(toast, QStringLiteral("toast")));

    UndoBar bar(1);
    bar.show();
    EXPECT_TRUE(saveScreenshot(bar, QStringLiteral("undo-bar")));

    QSignalSpy undone(&bar, &UndoBar::undo);
    auto *button = bar.findChild<QToolButton *>();
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(undone.count(), 1);
}

TEST(CapsuleViewsTest, ChipsRemoveOnlyWhenAsked)
{
    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    auto *plain =
        new Chip(QStringLiteral("微博"), hexColor(QStringLiteral("#E6162D")), QStringLiteral("eye.fill"));
    auto *removable = new Chip(QStringLiteral("#猫"), hexColor(QStringLiteral("#D97757")), {}, true);
    layout->addWidget(plain);
    layout->addWidget(removable);
    row.show();
    EXPECT_EQ(plain->removeButton(), nullptr);
    ASSERT_NE(removable->removeButton(), nullptr);

    QSignalSpy removed(removable, &Chip::removeClicked);
    QTest::mouseClick(removable->removeButton(), Qt::LeftButton);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_TRUE(shows(removable->grab().toImage(), hexColor(QStringLiteral("#D97757"))));
    EXPECT_TRUE(saveScreenshot(row, QStringLiteral("chips")));
}

TEST(CapsuleViewsTest, PlatformBadgesDrawEverySymbolInThePlatformColour)
{
    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    for (const Platform platform : Platform::allCases()) {
        auto *badge = new PlatformBadge(platform, 28);
        layout->addWidget(badge);
        badge->show();
        EXPECT_TRUE(shows(badge->grab().toImage(), hexColor(platform.tintHex())))
            << qPrintable(platform.rawValue());
    }
    row.show();
    EXPECT_TRUE(saveScreenshot(row, QStringLiteral("platform-badges")));
}

} // namespace
