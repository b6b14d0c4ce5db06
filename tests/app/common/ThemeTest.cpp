#include "HexColor.h"
#include "Theme.h"

#include <gtest/gtest.h>

namespace {

TEST(ThemeTest, HexColorReadsLeadingDigitsAndKeepsTheLowest24Bits)
{
    EXPECT_EQ(hexColor(QStringLiteral("#D97757")), QColor(0xD9, 0x77, 0x57));
    EXPECT_EQ(hexColor(QStringLiteral("##FFFFFF##")), QColor(Qt::white));
    EXPECT_EQ(hexColor(QStringLiteral("#AA112233")), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(hexColor(QStringLiteral("12zz")), QColor(0x00, 0x00, 0x12));
    for (const char *black : {"", "#", "red", "#GGGGGG"})
        EXPECT_EQ(hexColor(QString::fromLatin1(black)), QColor(Qt::black)) << black;
    // Too many digits saturate rather than wrap, as a number scanner does.
    EXPECT_EQ(hexColor(QStringLiteral("123456789ABCDEF0123")), QColor(Qt::white));
}

TEST(ThemeTest, ColoursFollowThePaletteInUse)
{
    const QPalette light = Theme::palette(Theme::Appearance::light);
    const QPalette dark = Theme::palette(Theme::Appearance::dark);
    EXPECT_FALSE(Theme::isDark(light));
    EXPECT_TRUE(Theme::isDark(dark));
    EXPECT_EQ(Theme::background().resolved(dark), dark.color(QPalette::Window));
    EXPECT_EQ(Theme::text().resolved(dark), dark.color(QPalette::WindowText));
    EXPECT_NE(Theme::text().resolved(light), Theme::text().resolved(dark));
}

} // namespace
