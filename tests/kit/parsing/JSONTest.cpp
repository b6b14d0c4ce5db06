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

TEST(JSONTest, LookupsOnMissingNullOrWrongTypesGiveTheEmptyValue)
{
    EXPECT_FALSE(JSON()["a"][0]["b"].exists());
    const JSON value = read(R"({"list":[1,{"k":"v"}],"nothing":null})");
    EXPECT_EQ(value["list"][1]["k"].stringValue(), u"v"_qs);
    for (const JSON &missing : {value["list"][2], value["list"][-1], value["list"]["k"], value[QString()][0]})
        EXPECT_FALSE(missing.exists());
    EXPECT_TRUE(value.array().isEmpty() && value["list"].dictionary().isEmpty());
    const JSON null = value["nothing"];
    EXPECT_TRUE(null.raw().isNull());
    EXPECT_FALSE(null.exists() || null.string() || null.intValue() || null.boolValue());
}

TEST(JSONTest, FragmentsAndNumbersAsText)
{
    EXPECT_EQ(read(" 42 ").intValue(), 42);
    EXPECT_EQ(read(R"("text")").string(), u"text"_qs);
    EXPECT_EQ(JSON::fromString(u"\uFEFF[\"中\"]"_qs)[0].string(), u"中"_qs);
    EXPECT_EQ(read("3.0").string(), u"3"_qs);
    EXPECT_EQ(read("[true]")[0].string(), u"1"_qs);
    // Big integers keep their digits as long as they fit 64 bits.
    EXPECT_EQ(read("9007199254740993").string(), u"9007199254740993"_qs);
    EXPECT_EQ(read("9007199254740993").intValue(), 9007199254740993LL);
    EXPECT_EQ(text("9007199254740993").intValue(), 9007199254740993LL);
    EXPECT_EQ(read("-9223372036854775808").intValue(), std::numeric_limits<qint64>::min());
    EXPECT_FALSE(read("9223372036854775808").intValue());
    EXPECT_FALSE(read("1e30").intValue());
    EXPECT_FALSE(text("1e30").intValue());
}

TEST(JSONTest, TypedReadersConvertOnlyWholeTexts)
{
    EXPECT_EQ(text("12.75").doubleValue(), 12.75);
    EXPECT_EQ(text("-12.75").intValue(), -12);
    EXPECT_EQ(read("-0.9").intValue(), 0);
    for (const char *bad : {" 12", "12 ", "", "1,000", "12abc"}) {
        EXPECT_FALSE(text(bad).doubleValue()) << bad;
        EXPECT_FALSE(text(bad).intValue()) << bad;
    }
    EXPECT_FALSE(text("nan").intValue());
    EXPECT_FALSE(read("[1]").doubleValue());
    EXPECT_FALSE(read("{}").string());
    for (const auto &[word, value] : {std::pair{"TRUE", true}, {"1", true}, {"False", false}, {"0", false}})
        EXPECT_EQ(text(word).boolValue(), value) << word;
    EXPECT_FALSE(text("yes").boolValue());
    EXPECT_EQ(read("0.0").boolValue(), false);
}

TEST(JSONTest, HostileInputThrowsOrReads)
{
    for (const QByteArray &bad :
         {QByteArray(), QByteArray("  "), QByteArray("{\"a\":"), QByteArray("[1,2"), QByteArray("1 2"),
          QByteArray("[1]]"), QByteArray("1e400"), QByteArray("\"a\xff\""), QByteArray(100000, '['),
          QByteArray("nan"), QByteArray(R"("\ud800)"), QByteArray(R"("\ud8)")})
        EXPECT_THROW(JSON::fromData(bad), JSONError) << bad.left(20).toStdString();

    // An unpaired surrogate is replaced; a proper pair stays an emoji.
    const JSON texts = read(R"(["a\ud800b", "\udc00", "\ud83d\ude00", "\\ud800"])");
    EXPECT_EQ(texts[0].string(), u"a\uFFFDb"_qs);
    EXPECT_EQ(texts[1].string(), u"\uFFFD"_qs);
    EXPECT_EQ(texts[2].string(), u"😀"_qs);
    EXPECT_EQ(texts[3].string(), u"\\ud800"_qs);
}

} // namespace
