#include "TestHome.h"
#include "UserDefaults.h"

#include <QFile>
#include <QThread>
#include <limits>
#include <sys/stat.h>

namespace {

const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                    QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

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

// A number written by another program or a damaged file may lie past 64 bits.
TEST_F(UserDefaultsTest, IntegersReadExactlyOrAsAbsent)
{
    {
        QFile damaged(file());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(R"({"big": 1e19, "low": -1e19, "part": -2.5})");
    }
    {
        UserDefaults defaults(file());
        defaults.setInteger(QStringLiteral("max"), std::numeric_limits<qint64>::max());
        defaults.setInteger(QStringLiteral("min"), std::numeric_limits<qint64>::min());
    }
    UserDefaults reopened(file());
    EXPECT_EQ(reopened.integer(QStringLiteral("big")), 0);
    EXPECT_EQ(reopened.integer(QStringLiteral("low")), 0);
    EXPECT_EQ(reopened.integer(QStringLiteral("part")), -2);
    EXPECT_EQ(reopened.integer(QStringLiteral("max")), std::numeric_limits<qint64>::max());
    EXPECT_EQ(reopened.integer(QStringLiteral("min")), std::numeric_limits<qint64>::min());
}

// Qt's reader takes a U+FEFF that starts a text or a key for a byte-order mark.
TEST_F(UserDefaultsTest, TextsAndKeysStartingWithZeroWidthNoBreakSpaceSurviveAReopen)
{
    const QString text = QStringLiteral("\uFEFFx");
    {
        UserDefaults defaults(file());
        defaults.setString(QStringLiteral("k"), text);
        defaults.setBool(text, true);
    }
    UserDefaults reopened(file());
    EXPECT_EQ(reopened.string(QStringLiteral("k")), text);
    EXPECT_TRUE(reopened.boolValue(text));
}

TEST_F(UserDefaultsTest, OnlyTheOwnerMayReadTheFile)
{
    {
        QFile loose(file());
        ASSERT_TRUE(loose.open(QIODevice::WriteOnly));
        loose.write("{}");
        loose.setPermissions(loose.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    }
    UserDefaults defaults(file());
    EXPECT_FALSE(QFile::permissions(file()) & others) << "an existing file is tightened";
    defaults.setString(QStringLiteral("cookie.weibo"), QStringLiteral("SUB=secret"));
    EXPECT_FALSE(QFile::permissions(file()) & others);
}

TEST_F(UserDefaultsTest, ANewFileIsTheOwnersOnlyFromTheStart)
{
    const mode_t previous = ::umask(022);
    UserDefaults(file()).setString(QStringLiteral("cookie.weibo"), QStringLiteral("SUB=secret"));
    ::umask(previous);
    EXPECT_FALSE(QFile::permissions(file()) & others);
}

TEST_F(UserDefaultsTest, ThreadsMayReadAndWriteAtOnce)
{
    UserDefaults defaults(file());
    QList<QThread *> threads;
    for (int t = 0; t < 4; ++t)
        threads.append(QThread::create([&defaults, t] {
            for (int i = 0; i < 40; ++i) {
                defaults.setInteger(QStringLiteral("t%1.%2").arg(t).arg(i), i);
                defaults.string(QStringLiteral("t%1.%2").arg((t + 1) % 4).arg(i));
                defaults.keys();
            }
        }));
    for (QThread *thread : threads)
        thread->start();
    for (QThread *thread : threads) {
        thread->wait();
        delete thread;
    }
    EXPECT_EQ(defaults.keys().size(), 160);
    EXPECT_EQ(UserDefaults(file()).keys().size(), 160) << "the file ends with every change";
}

} // namespace
