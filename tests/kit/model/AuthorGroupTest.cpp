#include "AuthorGroup.h"

#include <gtest/gtest.h>

namespace {

TEST(AuthorGroupTest, InitializerKeepsRepeatsWhereTheMemberSetterDropsThem)
{
    const AuthorAccount a(Platform::weibo, QStringLiteral("A"));
    const AuthorAccount b(Platform::x, QStringLiteral("B"));
    AuthorGroup group(QStringLiteral("Person"), {a, b, a});
    EXPECT_EQ(group.members(), QList<AuthorAccount>({a, b, a}));

    group.setMembers({b, a, AuthorAccount(Platform::x, QStringLiteral("B")), a});
    EXPECT_EQ(group.membersRaw(), b.key() + u'\n' + a.key());
}

} // namespace
