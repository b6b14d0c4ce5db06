#include "TestHome.h"
#include "UserDefaults.h"

namespace {

class UserDefaultsTest : public HomeTest {
protected:
    QString file() const { return home.path() + QStringLiteral("/settings.json"); }
};

TEST_F(UserDefaultsTest, ValuesKeepTheirTypeAndEveryDigitAcrossAReopen)
{
    const qint64 large = 9007199254740993LL; // 2^53 + 1, which no double holds
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1709806830123);
    const QVariantMap expected = {{QStringLiteral("flag"), true},
                                  {QStringLiteral("text"), QStringLiteral("true")},
                                  {QStringLiteral("id"), large},
                                  {QStringLiteral("ratio"), 2.5},
                                  {QStringLiteral("when"), when},
                                  {QStringLiteral("bytes"), QByteArray("\x00\xff", 2)},
                                  {QStringLiteral("map"), QVariantMap{{QStringLiteral("k"), qint64(1)}}}};
    {
        UserDefaults defaults(file());
        for (auto it = expected.begin(); it != expected.end(); ++it)
            defaults.setObject(it.key(), *it);
    }
    UserDefaults reopened(file());
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        EXPECT_EQ(reopened.object(it.key()).typeId(), it->typeId()) << it.key().toStdString();
        EXPECT_EQ(reopened.object(it.key()), *it) << it.key().toStdString();
    }
    EXPECT_EQ(reopened.integer(QStringLiteral("id")), large);
}

TEST_F(UserDefaultsTest, TheTwoBoolReadingStyles)
{
    UserDefaults defaults(file());
    defaults.setString(QStringLiteral("text"), QStringLiteral("no"));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("absent")) || defaults.boolValue(QStringLiteral("text")));
    EXPECT_TRUE(defaults.boolObject(QStringLiteral("absent")) && defaults.boolObject(QStringLiteral("text")));
}

} // namespace
