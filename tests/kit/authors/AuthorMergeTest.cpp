#include "AuthorMerge.h"

#include "AuthorLibrary.h"

namespace {

using Boards = QList<std::shared_ptr<Board>>;

class AuthorMergeTest : public AuthorLibrary {
protected:
    const AuthorAccount weiboA = account(Platform::weibo, "A");
    const AuthorAccount xB = account(Platform::x, "B");
    const AuthorAccount xhsC = account(Platform::xiaohongshu, "C");
    const AuthorAccount douyinD = account(Platform::douyin, "D");
    const QDateTime noon = QDateTime::fromString(QStringLiteral("2024-05-01T12:00:00.750Z"), Qt::ISODate);
    const QDateTime noonWhole = QDateTime::fromString(QStringLiteral("2024-05-01T12:00:00Z"), Qt::ISODate);

    std::shared_ptr<AuthorGroup> merge(const AuthorAccount &source, const AuthorAccount &into)
    {
        return AuthorMerge::merge(source, into, context);
    }
};

TEST_F(AuthorMergeTest, MergedPersonKeepsTargetNameAndTakesTheSourceStarUnlessItHasItsOwn)
{
    const auto fresh = merge(weiboA, account(Platform::web, "E"));
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->name(), QStringLiteral("E"));
    fresh->setStarred(true);
    fresh->setStarredAt(noonWhole.addSecs(-600));

    const QDateTime sourceStar = noonWhole.addSecs(-60);
    const auto source = addGroup({xhsC}, true, sourceStar);
    const auto target = addGroup({xB, douyinD});
    target->setName(QStringLiteral("Target"));
    EXPECT_EQ(merge(xhsC, douyinD), target);
    EXPECT_EQ(target->members(), QList<AuthorAccount>({xB, douyinD, xhsC}));
    EXPECT_EQ(target->starredAt(), sourceStar);
    EXPECT_EQ(target->name(), QStringLiteral("Target"));
    EXPECT_TRUE(source->isGone());

    merge(weiboA, xB);
    EXPECT_EQ(target->members(),
              QList<AuthorAccount>({xB, douyinD, xhsC, account(Platform::web, "E"), weiboA}));
    EXPECT_EQ(target->starredAt(), sourceStar);
    EXPECT_EQ(groups().size(), 1);
    EXPECT_FALSE(context.hasChanges());
}

// Accounts that already make one person must not be joined again: the group
// would list an account twice.
TEST_F(AuthorMergeTest, MergingWithinOnePersonAddsNoRepeatedMember)
{
    EXPECT_EQ(merge(weiboA, weiboA), nullptr);
    EXPECT_TRUE(groups().isEmpty());

    const auto group = addGroup({xB, weiboA, xhsC});
    EXPECT_EQ(merge(xhsC, weiboA), group);
    EXPECT_EQ(merge(xB, xB), group);
    EXPECT_EQ(group->membersRaw(), AuthorAccount::keyList({xB, weiboA, xhsC}));
    EXPECT_EQ(groups().size(), 1);
}

TEST_F(AuthorMergeTest, MergeFilesPostsOnThePersonsBoardsAndSplitTakesOffOnlyTheAccountsOnes)
{
    const auto viaB = addBoard({xB});
    const auto ownBoard = addBoard({weiboA});
    const auto other = addBoard({douyinD});
    const auto postA = addPost(weiboA);
    const auto postB = addPost(xB);
    const auto postD = addPost(douyinD);
    addPost(account(Platform::weibo, ""));

    const auto group = merge(weiboA, xB);
    merge(xhsC, xB);
    group->setStarred(true);
    EXPECT_EQ(postA->boards(), Boards({viaB, ownBoard}));
    EXPECT_EQ(other->posts(), QList<std::shared_ptr<Post>>({postD}));

    AuthorMerge::split(weiboA, context);
    EXPECT_EQ(postA->boards(), Boards({ownBoard}));
    EXPECT_EQ(postB->boards(), Boards({viaB, ownBoard}));
    EXPECT_EQ(ownBoard->linkedAuthors(), QList<AuthorAccount>({weiboA}));
    EXPECT_FALSE(context.hasChanges());

    AuthorMerge::split(xB, context);
    EXPECT_EQ(group->main(), xhsC) << "a starred person stays while a member remains";
    AuthorMerge::split(xhsC, context);
    EXPECT_TRUE(group->isGone());
}

TEST_F(AuthorMergeTest, StarringUsesWholeSecondsAndUnstarringDropsSmallPersons)
{
    setClock(noon);
    AuthorMerge::setStarred(weiboA, true, context);
    ASSERT_EQ(groups().size(), 1);
    const auto group = groups().first();
    EXPECT_EQ(group->members(), QList<AuthorAccount>({weiboA}));
    EXPECT_EQ(group->starredAt(), noonWhole);
    EXPECT_FALSE(context.hasChanges());

    AuthorMerge::setStarred(weiboA, false, context);
    EXPECT_TRUE(group->isGone());

    const auto three = addGroup({weiboA, xB, xhsC}, true, noonWhole);
    AuthorMerge::setStarred(xB, false, context);
    EXPECT_FALSE(three->isGone());
    EXPECT_EQ(three->starredAt(), std::nullopt);
}

TEST_F(AuthorMergeTest, ReorderingGivesEachPositionOneSecondLess)
{
    setClock(noon);
    const auto a = addGroup({weiboA}, true, noonWhole.addDays(-3));
    const auto b = addGroup({xB}, true, noonWhole.addDays(-2));
    const auto c = addGroup({xhsC, douyinD}, true, noonWhole.addDays(-1));

    AuthorMerge::reorderStarred({xhsC, account(Platform::web, "Loose"), weiboA, xB}, context);
    EXPECT_EQ(c->starredAt(), noonWhole);
    EXPECT_EQ(a->starredAt(), noonWhole.addSecs(-2));
    EXPECT_EQ(b->starredAt(), noonWhole.addSecs(-3));
}

// Such a name cannot be stored in a member list; joining or starring it would
// leave a person with a member missing.
TEST_F(AuthorMergeTest, AccountsWithLineBreaksInTheirNamesNeverJoinAPerson)
{
    const AuthorAccount broken = account(Platform::x, "Eve\nweibo\tMallory");
    EXPECT_EQ(merge(broken, weiboA), nullptr);
    EXPECT_EQ(merge(weiboA, broken), nullptr);
    AuthorMerge::setStarred(broken, true, context);
    EXPECT_TRUE(groups().isEmpty());
}

} // namespace
