#include "JSON.h"

#include <gtest/gtest.h>

namespace {

JSON read(const char *text)
{
    return JSON::fromData(QByteArray(text));
}

JSON text(const char *value)
{
    return JSON(QJsonValue(QString::fromUtf8(value)));
}

TEST(JSONTest, BigIntegersKeepTheirDigitsAsLongAsTheyFit64Bits)
{
    EXPECT_EQ(read("9007199254740993").string(), u"9007199254740993"_qs);
    EXPECT_EQ(read("9007199254740993").intValue(), 9007199254740993LL);
    EXPECT_EQ(text("9007199254740993").intValue(), 9007199254740993LL);
    EXPECT_EQ(read("-9223372036854775808").intValue(), std::numeric_limits<qint64>::min());
    for (const JSON &tooBig : {read("9223372036854775808"), read("1e30"), text("1e30")})
        EXPECT_FALSE(tooBig.intValue());
}

TEST(JSONTest, TypedReadersConvertOnlyWholeTexts)
{
    EXPECT_EQ(text("12.75").doubleValue(), 12.75);
    EXPECT_EQ(text("-12.75").intValue(), -12);
    for (const char *bad : {" 12", "12 ", "", "1,000", "12abc"})
        EXPECT_FALSE(text(bad).doubleValue() || text(bad).intValue()) << bad;
    EXPECT_FALSE(text("nan").intValue() || text("yes").boolValue());
}

TEST(JSONTest, HostileInputThrowsOrReads)
{
    for (const QByteArray &bad :
         {QByteArray(), QByteArray("  "), QByteArray("{\"a\":"), QByteArray("[1,2"), QByteArray("1 2"),
          QByteArray("[1]]"), QByteArray("1e400"), QByteArray("\"a\xff\""), QByteArray(100000, '['),
          QByteArray("nan"), QByteArray(R"("\ud800)"), QByteArray(R"("\ud8)")})
        EXPECT_THROW(JSON::fromData(bad), JSONError) << bad.left(20).toStdString();

    // The user reads that the answer could not be read; the reader's words stay for the log.
    try {
        JSON::fromData("<html><body>Sign in</body></html>");
        ADD_FAILURE() << "no JSONError";
    } catch (const JSONError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("无法读取平台返回的内容"));
        EXPECT_EQ(QString::fromUtf8(error.what()), error.message());
        EXPECT_EQ(error.detail(), QStringLiteral("illegal number at offset 0"));
    }

    // An unpaired surrogate is replaced; a proper pair stays an emoji.
    const JSON texts = read(R"(["a\ud800b", "\udc00", "\ud83d\ude00", "\\ud800"])");
    EXPECT_EQ(texts[0].string(), u"a\uFFFDb"_qs);
    EXPECT_EQ(texts[1].string(), u"\uFFFD"_qs);
    EXPECT_EQ(texts[2].string(), u"😀"_qs);
    EXPECT_EQ(texts[3].string(), u"\\ud800"_qs);
}

// Only the document's first bytes can be a byte-order mark; a U+FEFF that
// starts a text or a member name is a character of it.
TEST(JSONTest, AZeroWidthNoBreakSpaceStartingATextIsKept)
{
    const JSON object = read("\xEF\xBB\xBF{\"\xEF\xBB\xBFk\": \"\xEF\xBB\xBFv\"}");
    EXPECT_EQ(object[u"\uFEFFk"_qs].string(), u"\uFEFFv"_qs);
    EXPECT_EQ(object.dictionary().keys(), QStringList{u"\uFEFFk"_qs});
}

} // namespace
