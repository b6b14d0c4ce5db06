#include "AuthorAccount.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const QString alice = QStringLiteral("Alice");

std::optional<AuthorAccount> fromKey(const char *key)
{
    return AuthorAccount::fromKey(QString::fromUtf8(key));
}

TEST(AuthorAccountTest, RejectsTextsThatAreNoKey)
{
    EXPECT_FALSE(fromKey("weibo Alice"));
    EXPECT_FALSE(fromKey("weibo\t"));
    EXPECT_FALSE(fromKey("Weibo\tAlice"));
    EXPECT_FALSE(fromKey("myspace\tAlice"));
    EXPECT_FALSE(fromKey(""));
    EXPECT_FALSE(fromKey("\t\t"));
}

TEST(AuthorAccountTest, KeyReadsBackAndKeepsTabsInTheName)
{
    const AuthorAccount account(Platform::weibo, alice);
    EXPECT_EQ(account.key(), QStringLiteral("weibo\tAlice"));
    EXPECT_EQ(AuthorAccount::fromKey(account.key()), account);
    EXPECT_EQ(fromKey("\tweibo\tAlice"), AuthorAccount(Platform::weibo, alice));
    EXPECT_EQ(fromKey("\t\tx\tAlice"), AuthorAccount(Platform::x, alice));

    const std::optional<AuthorAccount> inner = fromKey("weibo\tAl\tice");
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->name(), QStringLiteral("Al\tice"));

    const std::optional<AuthorAccount> leading = fromKey("weibo\t\tAlice");
    ASSERT_TRUE(leading);
    EXPECT_EQ(leading->name(), QStringLiteral("\tAlice"));
    EXPECT_EQ(AuthorAccount::fromKey(leading->key()), *leading);
}

TEST(AuthorAccountTest, CanonicallyEquivalentNamesAreOneAccount)
{
    const AuthorAccount composed(Platform::weibo, QStringLiteral("Zo\u00eb"));
    const AuthorAccount decomposed(Platform::weibo, QStringLiteral("Zoe\u0308"));
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(qHash(composed), qHash(decomposed));
    EXPECT_EQ(QSet<AuthorAccount>({composed, decomposed}).size(), 1);

    EXPECT_NE(composed, AuthorAccount(Platform::x, composed.name()));
    EXPECT_NE(AuthorAccount(Platform::weibo, alice), AuthorAccount(Platform::weibo, QStringLiteral("alice")));
    EXPECT_NE(AuthorAccount(Platform::weibo, alice),
              AuthorAccount(Platform::weibo, QStringLiteral("Alice ")));
}

TEST(AuthorAccountTest, KeyListSkipsBlankAndUnparsableLinesAndKeepsRepeats)
{
    const AuthorAccount a(Platform::weibo, alice);
    const AuthorAccount b(Platform::x, QStringLiteral("Bob"));
    const QList<AuthorAccount> read = AuthorAccount::fromKeyList(
        a.key() + QStringLiteral("\n\nnope\nfoo\tbar\n") + b.key() + u'\n' + a.key());
    EXPECT_EQ(read, QList<AuthorAccount>({a, b, a}));
    EXPECT_EQ(AuthorAccount::keyList(read), a.key() + u'\n' + b.key() + u'\n' + a.key());
    EXPECT_EQ(AuthorAccount::keyList({}), QString());
    EXPECT_TRUE(AuthorAccount::fromKeyList(QString()).isEmpty());
}

// A line break inside a name would cut the key list into lines that read as
// other accounts: "Eve\nweibo\tMallory" would add a Weibo account named
// Mallory. Such accounts are never written, and their neighbours stay whole.
TEST(AuthorAccountTest, NamesWithLineBreaksCannotEnterAKeyList)
{
    const AuthorAccount a(Platform::weibo, alice);
    const AuthorAccount b(Platform::x, QStringLiteral("Bob"));
    const AuthorAccount injected(Platform::x, QStringLiteral("Eve\nweibo\tMallory"));
    const AuthorAccount carriage(Platform::x, QStringLiteral("Eve\r"));
    EXPECT_FALSE(injected.isStorable());
    EXPECT_FALSE(carriage.isStorable());
    EXPECT_TRUE(AuthorAccount(Platform::x, QStringLiteral("Eve\tTab")).isStorable());

    const QString text = AuthorAccount::keyList({a, injected, carriage, b});
    EXPECT_EQ(text, a.key() + u'\n' + b.key());
    EXPECT_EQ(AuthorAccount::fromKeyList(text), QList<AuthorAccount>({a, b}));
}

} // namespace
