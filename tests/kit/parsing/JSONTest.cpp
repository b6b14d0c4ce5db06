#include "JSON.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

JSON read(const char *text)
{
    return JSON::fromData(QByteArray(text));
}

TEST(JSONTest, LookupsOnMissingOrWrongTypesGiveTheEmptyValue)
{
    const JSON empty;
    EXPECT_FALSE(empty["a"][0]["b"].exists());
    EXPECT_EQ(empty["a"][0]["b"].stringValue(), QString());
    const JSON value = read(R"({"list":[1,{"k":"v"}],"nothing":null})");
    EXPECT_EQ(value["list"][1]["k"].stringValue(), u"v"_qs);
    EXPECT_FALSE(value["list"][2].exists());
    EXPECT_FALSE(value["list"][-1].exists());
    EXPECT_FALSE(value["list"]["k"].exists());
    EXPECT_FALSE(value[QString()][0].exists());
    EXPECT_TRUE(value["list"].array().size() == 2 && value.array().isEmpty());
    EXPECT_EQ(value.dictionary().keys(), (QStringList{u"list"_qs, u"nothing"_qs}));
    EXPECT_TRUE(value["list"].dictionary().isEmpty());
}

TEST(JSONTest, NullMemberIsPresentButDoesNotExist)
{
    const JSON member = read(R"({"a":null})")["a"];
    EXPECT_TRUE(member.raw().isNull());
    EXPECT_FALSE(member.exists());
    EXPECT_FALSE(member.string());
    EXPECT_FALSE(member.intValue());
    EXPECT_FALSE(member.boolValue());
}

TEST(JSONTest, TopLevelFragmentsAreRead)
{
    EXPECT_EQ(read("42").intValue(), 42);
    EXPECT_EQ(read(" 42 ").string(), u"42"_qs);
    EXPECT_EQ(read(R"("text")").string(), u"text"_qs);
    EXPECT_EQ(read("true").boolValue(), true);
    EXPECT_TRUE(read("null").raw().isNull());
    EXPECT_EQ(JSON::fromString(u"\uFEFF[\"中\"]"_qs)[0].string(), u"中"_qs);
}

TEST(JSONTest, NumbersAsText)
{
    EXPECT_EQ(read("3.0").string(), u"3"_qs);
    EXPECT_EQ(read("-2.5").string(), u"-2.5"_qs);
    EXPECT_EQ(read("1e300").string(), u"1e+300"_qs);
    EXPECT_EQ(read("[true,false]")[0].string(), u"1"_qs);
    EXPECT_EQ(read("[true,false]")[1].string(), u"0"_qs);
    // Ids beyond 2^53 keep their digits as long as they fit 64 bits.
    EXPECT_EQ(read("9007199254740993").string(), u"9007199254740993"_qs);
    EXPECT_EQ(read("9007199254740993").intValue(), 9007199254740993LL);
    EXPECT_EQ(read("-9223372036854775808").intValue(), std::numeric_limits<qint64>::min());
}

TEST(JSONTest, TypedReadersConvertTexts)
{
    const JSON fraction(QJsonValue(u"12.75"_qs));
    EXPECT_EQ(fraction.doubleValue(), 12.75);
    EXPECT_EQ(fraction.intValue(), 12);
    EXPECT_EQ(JSON(QJsonValue(u"-12.75"_qs)).intValue(), -12);
    EXPECT_EQ(JSON(QJsonValue(u"9007199254740993"_qs)).intValue(), 9007199254740993LL);
    for (const QString &text : {u" 12"_qs, u"12 "_qs, u""_qs, u"1,000"_qs, u"12abc"_qs}) {
        EXPECT_FALSE(JSON(QJsonValue(text)).doubleValue()) << text.toStdString();
        EXPECT_FALSE(JSON(QJsonValue(text)).intValue()) << text.toStdString();
    }
    EXPECT_FALSE(JSON(QJsonValue(u"nan"_qs)).intValue());
    EXPECT_FALSE(JSON(QJsonValue(u"1e30"_qs)).intValue());
    EXPECT_FALSE(read("1e30").intValue());
    EXPECT_FALSE(read("9223372036854775808").intValue());
    EXPECT_EQ(read("-0.9").intValue(), 0);
    EXPECT_FALSE(read("[1]").doubleValue());
    EXPECT_FALSE(read("{}").string());
}

TEST(JSONTest, BoolReaderAcceptsNumbersAndWords)
{
    EXPECT_EQ(JSON(QJsonValue(u"TRUE"_qs)).boolValue(), true);
    EXPECT_EQ(JSON(QJsonValue(u"1"_qs)).boolValue(), true);
    EXPECT_EQ(JSON(QJsonValue(u"0"_qs)).boolValue(), false);
    EXPECT_EQ(JSON(QJsonValue(u"False"_qs)).boolValue(), false);
    EXPECT_FALSE(JSON(QJsonValue(u"yes"_qs)).boolValue());
    EXPECT_EQ(read("2").boolValue(), true);
    EXPECT_EQ(read("0.0").boolValue(), false);
}

TEST(JSONTest, HostileInputThrowsOrReads)
{
    for (const QByteArray &bad :
         {QByteArray(), QByteArray("  "), QByteArray("{\"a\":"), QByteArray("[1,2"), QByteArray("1 2"),
          QByteArray("1,2"), QByteArray("[1]]"), QByteArray("1e400"), QByteArray("\"a\xff\""),
          QByteArray(100000, '['), QByteArray("nan")})
        EXPECT_THROW(JSON::fromData(bad), JSONError) << bad.left(20).toStdString();

    // An unpaired surrogate is replaced; a proper pair stays an emoji.
    const JSON text = read(R"(["a\ud800b", "\udc00", "\ud83d\ude00", "\\ud800"])");
    EXPECT_EQ(text[0].string(), u"a\uFFFDb"_qs);
    EXPECT_EQ(text[1].string(), u"\uFFFD"_qs);
    EXPECT_EQ(text[2].string(), u"😀"_qs);
    EXPECT_EQ(text[3].string(), u"\\ud800"_qs);
    EXPECT_THROW(read(R"("\ud800)"), JSONError);
    EXPECT_THROW(read(R"("\ud8)"), JSONError);
}

TEST(JSONTest, IndexAndKeyFormsCompileWithoutAmbiguity)
{
    const JSON value(QJsonArray{QJsonObject{{u"a"_qs, 1}}});
    EXPECT_EQ(value[0]["a"].intValue(), 1);
    EXPECT_EQ(value[qsizetype(0)][u"a"_qs].intValue(), 1);
    EXPECT_EQ(value[size_t(0)][QStringLiteral("a")].intValue(), 1);
}

} // namespace
