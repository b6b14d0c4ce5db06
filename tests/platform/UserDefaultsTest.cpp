#include "TestHome.h"
#include "UserDefaults.h"

#include <QSignalSpy>

namespace {

class UserDefaultsTest : public HomeTest {
protected:
    QString file() const { return home.path() + QStringLiteral("/settings.json"); }
};

TEST_F(UserDefaultsTest, ValuesKeepTheirTypeAndEveryDigitAcrossAReopen)
{
    const qint64 large = 9007199254740993LL; // 2^53 + 1, which no double holds
    const QDateTime when = QDateTime::fromString(QStringLiteral("2024-03-07T10:20:30.123Z"), Qt::ISODateWithMs);
    {
        UserDefaults defaults(file());
        defaults.setBool(QStringLiteral("flag"), true);
        defaults.setString(QStringLiteral("text"), QStringLiteral("true"));
        defaults.setInteger(QStringLiteral("id"), large);
        defaults.setNumber(QStringLiteral("ratio"), 2.5);
        defaults.setDate(QStringLiteral("when"), when);
        defaults.setData(QStringLiteral("bytes"), QByteArray("\x00\xff", 2));
        defaults.setDictionary(QStringLiteral("map"), {{QStringLiteral("k"), 1}});
        EXPECT_EQ(defaults.integer(QStringLiteral("id")), large);
    }
    UserDefaults reopened(file());
    EXPECT_EQ(reopened.object(QStringLiteral("flag")).typeId(), QMetaType::Bool);
    EXPECT_EQ(reopened.object(QStringLiteral("text")).typeId(), QMetaType::QString);
    EXPECT_EQ(reopened.integer(QStringLiteral("id")), large);
    EXPECT_DOUBLE_EQ(reopened.number(QStringLiteral("ratio")), 2.5);
    EXPECT_EQ(reopened.integer(QStringLiteral("ratio")), 2);
    EXPECT_EQ(reopened.date(QStringLiteral("when")), when);
    EXPECT_EQ(reopened.data(QStringLiteral("bytes")), QByteArray("\x00\xff", 2));
    EXPECT_EQ(reopened.dictionary(QStringLiteral("map")).value(QStringLiteral("k")).toLongLong(), 1);
}

TEST_F(UserDefaultsTest, TheTwoBoolReadingStyles)
{
    UserDefaults defaults(file());
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("absent")));
    EXPECT_TRUE(defaults.boolObject(QStringLiteral("absent")));
    defaults.setString(QStringLiteral("text"), QStringLiteral("no"));
    EXPECT_TRUE(defaults.boolObject(QStringLiteral("text")));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("text")));
    defaults.setBool(QStringLiteral("off"), false);
    EXPECT_FALSE(defaults.boolObject(QStringLiteral("off")));
    EXPECT_FALSE(defaults.string(QStringLiteral("off")).has_value());
}

TEST_F(UserDefaultsTest, ACorruptFileReadsAsEmptyAndIsReplacedOnWrite)
{
    {
        QFile broken(file());
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("{not json");
    }
    UserDefaults defaults(file());
    EXPECT_TRUE(defaults.keys().isEmpty());
    defaults.setBool(QStringLiteral("x"), true);
    EXPECT_TRUE(UserDefaults(file()).boolValue(QStringLiteral("x")));
}

TEST_F(UserDefaultsTest, ChangesAreAnnouncedOnlyWhenTheValueChanges)
{
    UserDefaults defaults(file());
    QSignalSpy spy(&defaults, &UserDefaults::changed);
    defaults.setString(QStringLiteral("k"), QStringLiteral("v"));
    defaults.setString(QStringLiteral("k"), QStringLiteral("v"));
    defaults.remove(QStringLiteral("k"));
    defaults.remove(QStringLiteral("k"));
    EXPECT_EQ(spy.count(), 2);
}

} // namespace
