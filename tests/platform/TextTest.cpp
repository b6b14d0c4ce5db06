#include "Text.h"

#include <QStringList>
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

TEST(TextTest, ScalarOrderHoldsNextToSurrogatesAndForPrefixes)
{
    const QChar high(0xD83D), low(0xDE00);
    const QStringList texts{u""_qs,
                            u"a"_qs,
                            u"ab"_qs,
                            u"b"_qs,
                            u"\uFF01"_qs,
                            u"\uFFFD"_qs,
                            u"\U0001F600"_qs,
                            u"a\U0001F600"_qs,
                            u"a\U0001F600b"_qs,
                            QString(high),
                            QString(low),
                            u"a"_qs + high,
                            u"a"_qs + high + u"b"_qs,
                            u"a"_qs + low + u"b"_qs,
                            QString(high) + high + low};
    for (const QString &a : texts)
        for (const QString &b : texts) {
            const int decoded = a.toStdU32String().compare(b.toStdU32String());
            EXPECT_EQ(Text::compareScalars(a, b) < 0, decoded < 0)
                << a.toStdString() << " " << b.toStdString();
            EXPECT_EQ(Text::compareScalars(a, b) == 0, decoded == 0)
                << a.toStdString() << " " << b.toStdString();
        }
}

TEST(TextTest, UuidsAreWrittenUpperCaseWithHyphens)
{
    for (const QUuid &id :
         {QUuid(), QUuid::createUuid(), QUuid::fromString(u"ffffffff-ffff-ffff-ffff-ffffffffffff"_qs),
          QUuid::fromString(u"0f8fad5b-d9cb-469f-a165-70867728950e"_qs)})
        EXPECT_EQ(Text::uuidText(id), id.toString(QUuid::WithoutBraces).toUpper());
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
