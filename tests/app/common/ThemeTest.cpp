#include "HexColor.h"

#include <gtest/gtest.h>

namespace {

TEST(ThemeTest, HexColorReadsLeadingDigitsAndKeepsTheLowest24Bits)
{
    EXPECT_EQ(hexColor(QStringLiteral("#AA112233")), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(hexColor(QStringLiteral("12zz")), QColor(0x00, 0x00, 0x12));
    EXPECT_EQ(hexColor(QStringLiteral("red")), QColor(Qt::black));
    // Too many digits saturate rather than wrap, as a number scanner does.
    EXPECT_EQ(hexColor(QStringLiteral("123456789ABCDEF0123")), QColor(Qt::white));
}

} // namespace
