#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, CharactersAndOrderingFollowUnicodeNotUtf16)
{
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    EXPECT_EQ(Text::characterCount(family + QStringLiteral("ab")), 3);
    EXPECT_EQ(Text::characterPrefix(family + QStringLiteral("ab"), 1), family);
    // In UTF-16 a surrogate (0xD83D) sorts before U+FF01; as scalars it is after.
    EXPECT_TRUE(Text::scalarLess(QStringLiteral("\uFF01"), QStringLiteral("\U0001F600")));
}

// U+FEFF inside a text is a character like any other, not a byte-order mark,
// and a lone surrogate from a broken page survives too.
TEST(TextTest, TrimmingKeepsEveryCharacterItDoesNotTrim)
{
    const QString text = QStringLiteral("\uFEFF\tx\uFEFF");
    EXPECT_EQ(Text::trimmingWhitespace(text), text);
    EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(u" \uFEFF x\n"_qs), u"\uFEFF x"_qs);
    EXPECT_EQ(Text::removingWhitespace(u"\uFEFF a\nb"_qs), u"\uFEFFab"_qs);
    const QString lone = QString(QChar(0xD800)) + u"x"_qs;
    EXPECT_EQ(Text::trimmingWhitespace(u" "_qs + lone), lone);
}

} // namespace
