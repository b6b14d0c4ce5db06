#include "AuthorGroup.h"

#include <gtest/gtest.h>

namespace {

const AuthorAccount a(Platform::weibo, QStringLiteral("A"));
const AuthorAccount b(Platform::x, QStringLiteral("B"));

TEST(AuthorGroupTest, InitializerKeepsRepeatsWhereTheMemberSetterDropsThem)
{
    AuthorGroup group(QStringLiteral("Person"), {a, b, a});
    EXPECT_EQ(group.membersRaw(), a.key() + u'\n' + b.key() + u'\n' + a.key());
    EXPECT_EQ(group.members(), QList<AuthorAccount>({a, b, a}));
    EXPECT_FALSE(group.starred());
    EXPECT_FALSE(group.starredAt().has_value());

    group.setMembers({b, a, AuthorAccount(Platform::x, QStringLiteral("B")), a});
    EXPECT_EQ(group.membersRaw(), b.key() + u'\n' + a.key());
    EXPECT_EQ(group.main(), b);

    group.setMembers({});
    EXPECT_EQ(group.membersRaw(), QString());
    EXPECT_FALSE(group.main().has_value());
}

} // namespace
