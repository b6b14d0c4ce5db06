#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, EquivalenceCharactersTrimmingAndOrdering)
{
    EXPECT_TRUE(Text::canonicallyEqual(QStringLiteral("caf\u00e9"), QStringLiteral("cafe\u0301")));
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    EXPECT_EQ(Text::characterCount(family + QStringLiteral("ab")), 3);
    EXPECT_EQ(Text::characterPrefix(family + QStringLiteral("ab"), 1), family);
    EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(QStringLiteral("\n \u3000\ttoken\t \n")),
              QStringLiteral("token"));
    // In UTF-16 a surrogate (0xD83D) sorts before U+FF01; as scalars it is after.
    EXPECT_TRUE(Text::scalarLess(QStringLiteral("\uFF01"), QStringLiteral("\U0001F600")));
    EXPECT_TRUE(Text::localizedStandardLess(QStringLiteral("tag 9"), QStringLiteral("tag 10")));
}

} // namespace
