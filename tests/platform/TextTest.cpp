#include "Text.h"

#include <gtest/gtest.h>

namespace {

const QString composed = QStringLiteral("caf\u00e9");
const QString decomposed = QStringLiteral("cafe\u0301");

TEST(TextTest, CanonicalEquivalenceMakesComposedAndDecomposedEqual)
{
    EXPECT_NE(composed, decomposed);
    EXPECT_TRUE(Text::canonicallyEqual(composed, decomposed));
    EXPECT_EQ(Text::canonical(composed), Text::canonical(decomposed));
    EXPECT_FALSE(Text::canonicallyEqual(composed, QStringLiteral("cafe")));
}

TEST(TextTest, CharacterPrefixCountsUserPerceivedCharacters)
{
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    const QString text = family + QStringLiteral("ab") + decomposed;
    EXPECT_EQ(Text::characterCount(text), 7);
    EXPECT_EQ(Text::characterPrefix(text, 1), family);
    EXPECT_EQ(Text::characterPrefix(text, 7), text);
    EXPECT_EQ(Text::characterPrefix(text, 100), text);
    EXPECT_EQ(Text::characterPrefix(text, 0), QString());
}

TEST(TextTest, TheTwoTrimmingRules)
{
    const QString text = QStringLiteral("\n \u3000\ttoken\t \n");
    EXPECT_EQ(Text::trimmingWhitespace(QStringLiteral(" \t a b \t")), QStringLiteral("a b"));
    EXPECT_EQ(Text::trimmingWhitespace(text), text);
    EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(text), QStringLiteral("token"));
    EXPECT_EQ(Text::removingWhitespace(QStringLiteral("12:AB\r\ncd ")), QStringLiteral("12:ABcd"));
}

TEST(TextTest, ScalarOrderPlacesAstralCharactersAfterTheBasicPlane)
{
    // In UTF-16 a surrogate (0xD83D) sorts before U+FF01; as scalars it is after.
    const QString astral = QStringLiteral("\U0001F600");
    const QString fullWidth = QStringLiteral("\uFF01");
    EXPECT_TRUE(Text::scalarLess(fullWidth, astral));
    EXPECT_FALSE(Text::scalarLess(astral, fullWidth));
    EXPECT_TRUE(Text::scalarLess(QStringLiteral("B"), QStringLiteral("a")));
}

TEST(TextTest, LocalizedStandardOrderComparesNumbersByValue)
{
    EXPECT_TRUE(Text::localizedStandardLess(QStringLiteral("tag 9"), QStringLiteral("tag 10")));
    EXPECT_TRUE(Text::localizedStandardLess(QStringLiteral("apple"), QStringLiteral("Banana")));
}

TEST(TextTest, UuidTextIsUpperCaseWithoutBraces)
{
    const QUuid uuid(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
    EXPECT_EQ(Text::uuidText(uuid), QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"));
}

} // namespace
