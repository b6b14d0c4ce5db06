#include "Chip.h"
#include "HexColor.h"
#include "PlatformBadge.h"
#include "Screenshot.h"
#include "Theme.h"
#include "Toast.h"
#include "UndoBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

bool near(const QColor &pixel, const QColor &color)
{
    return pixel.alpha() > 200 && std::abs(pixel.red() - color.red()) < 24 &&
           std::abs(pixel.green() - color.green()) < 24 && std::abs(pixel.blue() - color.blue()) < 24;
}

// Whether some pixel of the picture is close to the colour.
bool shows(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixelColor(x, y), color))
                return true;
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

TEST(CapsuleViewsTest, AChipShowsATagThatLooksLikeMarkupAsWritten)
{
    const QString tag = QStringLiteral("#<b>R&D</b>");
    Chip chip(tag, hexColor(QStringLiteral("#D97757")));
    auto *label = chip.findChild<QLabel *>();
    ASSERT_TRUE(label);
    EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(tag)) << "drawn as markup";
}

// Every badge at the caption's size on a card of each appearance, as painted
// views (captions, chips, avatars) draw it.
QImage badgesOnCards(int size)
{
    const QList<Platform> platforms = Platform::allCases();
    const int step = size + 6;
    QImage image(QSize(step * int(platforms.size()) + 6, 2 * step + 6), QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.fillRect(QRectF(0, 0, image.width(), step + 3), Theme::card().light());
    painter.fillRect(QRectF(0, step + 3, image.width(), step + 3), Theme::card().dark());
    for (int index = 0; index < platforms.size(); ++index)
        for (int row = 0; row < 2; ++row)
            PlatformBadge::paint(painter, platforms[index],
                                 QRectF(6 + step * index, 6 + step * row, size, size));
    return image;
}

TEST(CapsuleViewsTest, PlatformBadgesAreWhiteSymbolsOnACircleOfThePlatformColour)
{
    QWidget row;
    auto *layout = new QHBoxLayout(&row);
    for (const Platform platform : Platform::allCases()) {
        auto *badge = new PlatformBadge(platform, 28);
        layout->addWidget(badge);
        badge->show();
        const QImage image = badge->grab().toImage();
        const QColor tint = hexColor(platform.tintHex());
        // Black symbols of some platforms would vanish on dark views without their circle.
        EXPECT_TRUE(shows(image, Qt::white)) << qPrintable(platform.rawValue());
        EXPECT_TRUE(near(image.pixelColor(image.width() / 2, image.height() / 12), tint))
            << qPrintable(platform.rawValue()) << " on its circle";
        EXPECT_FALSE(near(image.pixelColor(1, 1), tint)) << qPrintable(platform.rawValue()) << " round";
    }
    row.show();
    EXPECT_TRUE(saveScreenshot(row, QStringLiteral("platform-badges")));
    QLabel small;
    small.setPixmap(QPixmap::fromImage(badgesOnCards(11)));
    EXPECT_TRUE(saveScreenshot(small, QStringLiteral("platform-badges-on-cards")));
}

} // namespace
