#include "AuthorAccount.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const AuthorAccount alice(Platform::weibo, QStringLiteral("Alice"));
const AuthorAccount bob(Platform::x, QStringLiteral("Bob"));

std::optional<AuthorAccount> fromKey(const char *key)
{
    return AuthorAccount::fromKey(QString::fromUtf8(key));
}

TEST(AuthorAccountTest, KeysReadBackKeepTabsInTheNameAndRejectOtherTexts)
{
    for (const char *bad : {"weibo Alice", "weibo\t", "Weibo\tAlice", "myspace\tAlice", "", "\t\t"})
        EXPECT_FALSE(fromKey(bad)) << bad;

    EXPECT_EQ(alice.key(), QStringLiteral("weibo\tAlice"));
    EXPECT_EQ(fromKey("\t\tweibo\tAlice"), alice);
    EXPECT_EQ(fromKey("weibo\tAl\tice")->name(), QStringLiteral("Al\tice"));
    const AuthorAccount leading(Platform::weibo, QStringLiteral("\tAlice"));
    EXPECT_EQ(fromKey("weibo\t\tAlice"), leading);
    EXPECT_EQ(AuthorAccount::fromKey(leading.key()), leading);
}

TEST(AuthorAccountTest, CanonicallyEquivalentNamesAreOneAccount)
{
    const AuthorAccount composed(Platform::weibo, QStringLiteral("Zo\u00eb"));
    const AuthorAccount decomposed(Platform::weibo, QStringLiteral("Zoe\u0308"));
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(QSet<AuthorAccount>({composed, decomposed}).size(), 1);
    EXPECT_NE(composed, AuthorAccount(Platform::x, composed.name()));
    EXPECT_NE(alice, AuthorAccount(Platform::weibo, QStringLiteral("alice")));
}

TEST(AuthorAccountTest, KeyListSkipsBlankAndUnparsableLinesAndKeepsRepeats)
{
    const QList<AuthorAccount> read =
        AuthorAccount::fromKeyList(alice.key() + "\n\nnope\nfoo\tbar\n" + bob.key() + u'\n' + alice.key());
    EXPECT_EQ(read, QList<AuthorAccount>({alice, bob, alice}));
    EXPECT_EQ(AuthorAccount::keyList(read), alice.key() + u'\n' + bob.key() + u'\n' + alice.key());
}

// A line break inside a name would cut the key list into lines that read as
// other accounts: "Eve\nweibo\tMallory" would add a Weibo account named
// Mallory. Such accounts are never written, and their neighbours stay whole.
TEST(AuthorAccountTest, NamesWithLineBreaksCannotEnterAKeyList)
{
    const AuthorAccount injected(Platform::x, QStringLiteral("Eve\nweibo\tMallory"));
    const AuthorAccount carriage(Platform::x, QStringLiteral("Eve\r"));
    EXPECT_FALSE(injected.isStorable());
    EXPECT_TRUE(AuthorAccount(Platform::x, QStringLiteral("Eve\tTab")).isStorable());
    EXPECT_EQ(AuthorAccount::keyList({alice, injected, carriage, bob}), alice.key() + u'\n' + bob.key());
}

} // namespace
