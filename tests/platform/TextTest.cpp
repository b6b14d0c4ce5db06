#include "Text.h"

#include <gtest/gtest.h>

namespace {

const QString decomposed = QStringLiteral("cafe\u0301");

TEST(TextTest, CanonicalEquivalenceMakesComposedAndDecomposedEqual)
{
    EXPECT_TRUE(Text::canonicallyEqual(QStringLiteral("caf\u00e9"), decomposed));
    EXPECT_FALSE(Text::canonicallyEqual(decomposed, QStringLiteral("cafe")));
}

TEST(TextTest, CharacterPrefixCountsUserPerceivedCharacters)
{
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString text = family + QStringLiteral("ab") + decomposed;
    EXPECT_EQ(Text::characterCount(text), 7);
    EXPECT_EQ(Text::characterPrefix(text, 1), family);
    EXPECT_EQ(Text::characterPrefix(text, 100), text);
}

TEST(TextTest, TheTwoTrimmingRules)
{
    const QString text = QStringLiteral("\n \u3000\ttoken\t \n");
    EXPECT_EQ(Text::trimmingWhitespace(text), text);
    EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(text), QStringLiteral("token"));
    EXPECT_EQ(Text::removingWhitespace(QStringLiteral("12:AB\r\ncd ")), QStringLiteral("12:ABcd"));
}

TEST(TextTest, OrderingByScalarAndByLocalizedNumberValue)
{
    // In UTF-16 a surrogate (0xD83D) sorts before U+FF01; as scalars it is after.
    EXPECT_TRUE(Text::scalarLess(QStringLiteral("\uFF01"), QStringLiteral("\U0001F600")));
    EXPECT_FALSE(Text::scalarLess(QStringLiteral("\U0001F600"), QStringLiteral("\uFF01")));
    EXPECT_TRUE(Text::localizedStandardLess(QStringLiteral("tag 9"), QStringLiteral("tag 10")));
    EXPECT_TRUE(Text::localizedStandardLess(QStringLiteral("apple"), QStringLiteral("Banana")));
}

} // namespace
