#include "AuthorAccount.h"
#include "Text.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const AuthorAccount alice(Platform::weibo, QStringLiteral("Alice"));
const AuthorAccount bob(Platform::x, QStringLiteral("Bob"));

TEST(AuthorAccountTest, KeysReadBackKeepTabsInTheNameAndRejectOtherTexts)
{
    const std::pair<const char *, std::optional<AuthorAccount>> cases[] = {
        {"weibo\tAlice", alice},
        {"weibo\tAl\tice", AuthorAccount(Platform::weibo, QStringLiteral("Al\tice"))},
        {"weibo\t", std::nullopt},
        {"myspace\tAlice", std::nullopt},
    };
    for (const auto &[key, expected] : cases) {
        EXPECT_EQ(AuthorAccount::fromKey(QString::fromUtf8(key)), expected) << key;
        if (expected)
            EXPECT_EQ(AuthorAccount::fromKey(expected->key()), expected) << key;
    }
}

TEST(AuthorAccountTest, CanonicallyEquivalentNamesAreOneAccount)
{
    const AuthorAccount composed(Platform::weibo, QStringLiteral("Zo\u00eb"));
    const AuthorAccount decomposed(Platform::weibo, QStringLiteral("Zoe\u0308"));
    EXPECT_EQ(QSet<AuthorAccount>({composed, decomposed}).size(), 1);
}

// A line break inside a name would cut the key list into lines that read as
// other accounts: "Eve\nweibo\tMallory" would add a Weibo account named
// Mallory. Such accounts are never written, and their neighbours stay whole.
TEST(AuthorAccountTest, NamesWithLineBreaksCannotEnterAKeyList)
{
    const AuthorAccount injected(Platform::x, QStringLiteral("Eve\nweibo\tMallory"));
    const AuthorAccount carriage(Platform::x, QStringLiteral("Eve\r"));
    EXPECT_EQ(AuthorAccount::keyList({alice, injected, carriage, bob}), alice.key() + u'\n' + bob.key());
    EXPECT_EQ(AuthorAccount::fromKeyList(alice.key() + "\n\nnope\n" + bob.key()),
              QList<AuthorAccount>({alice, bob}));
}

// Names come from pages; a name of thousands of combining marks would make
// every comparison slow, so only its first code units count.
TEST(AuthorAccountTest, LongNamesAreCutWithoutSplittingACharacter)
{
    const QString marks = QStringLiteral("\u0316\u0301").repeated(32768);
    const AuthorAccount hostile(Platform::web, QStringLiteral("a") + marks);
    EXPECT_EQ(AuthorAccount(Platform::web, hostile.name() + QStringLiteral("tail")), hostile);

    const AuthorAccount emoji(Platform::web,
                              QStringLiteral("a") + QStringLiteral("\U0001F600").repeated(200));
    EXPECT_EQ(emoji.name().size(), Text::keyLengthLimit - 1);
}

} // namespace
