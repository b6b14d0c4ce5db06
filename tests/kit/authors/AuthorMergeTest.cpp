#include "AuthorMerge.h"

#include "AuthorDirectory.h"
#include "AuthorLibrary.h"

namespace {

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

TEST_F(AuthorMergeTest, MergingTwoUngroupedAccountsMakesAPersonNamedAfterTheTarget)
{
    const auto group = merge(weiboA, xB);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->name(), QStringLiteral("B"));
    EXPECT_EQ(group->members(), QList<AuthorAccount>({xB, weiboA}));
    EXPECT_FALSE(group->starred());
    EXPECT_EQ(groups(), QList<std::shared_ptr<AuthorGroup>>({group}));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(AuthorMergeTest, MergedPersonTakesTheSourceStarUnlessItHasItsOwn)
{
    const QDateTime sourceStar = noonWhole.addSecs(-60);
    const auto source = addGroup({weiboA, xhsC}, true, sourceStar);
    const auto target = addGroup({xB, douyinD});
    target->setName(QStringLiteral("Target"));

    EXPECT_EQ(merge(xhsC, douyinD), target);
    EXPECT_EQ(target->members(), QList<AuthorAccount>({xB, douyinD, weiboA, xhsC}));
    EXPECT_TRUE(target->starred());
    EXPECT_EQ(target->starredAt(), sourceStar);
    EXPECT_EQ(target->name(), QStringLiteral("Target"));
    EXPECT_TRUE(source->isGone());

    const auto other = addGroup({account(Platform::web, "E")}, true, noonWhole.addSecs(-600));
    merge(account(Platform::web, "E"), xB);
    EXPECT_EQ(target->starredAt(), sourceStar);
    EXPECT_TRUE(other->isGone());
    EXPECT_EQ(groups().size(), 1);
}

// Accounts that already make one person must not be joined again: the group
// would list an account twice.
TEST_F(AuthorMergeTest, MergingWithinOnePersonOnlySavesAndRefiles)
{
    EXPECT_EQ(merge(weiboA, weiboA), nullptr);
    EXPECT_TRUE(groups().isEmpty());

    const auto group = addGroup({xB, weiboA, xhsC});
    const auto board = addBoard({xB});
    const auto post = addPost(xhsC);
    EXPECT_EQ(merge(xhsC, weiboA), group);
    EXPECT_EQ(merge(xB, xB), group);
    EXPECT_EQ(group->membersRaw(), AuthorAccount::keyList({xB, weiboA, xhsC}));
    EXPECT_EQ(groups().size(), 1);
    EXPECT_TRUE(isOn(post, board));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(AuthorMergeTest, AfterAMergeBoardsOfThePersonGainTheSourcePosts)
{
    addGroup({weiboA, xhsC});
    const auto board = addBoard({xB});
    const auto other = addBoard({douyinD});
    const auto postA = addPost(weiboA);
    const auto postC = addPost(xhsC);
    const auto postD = addPost(douyinD);
    addPost(account(Platform::weibo, ""));

    merge(weiboA, xB);
    EXPECT_EQ(board->posts(), QList<std::shared_ptr<Post>>({postA, postC}));
    EXPECT_EQ(other->posts(), QList<std::shared_ptr<Post>>({postD}));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(AuthorMergeTest, SplittingTakesTheAccountsPostsOffBoardsThatReachedItThroughThePerson)
{
    addGroup({xB, weiboA});
    const auto viaB = addBoard({xB});
    const auto ownBoard = addBoard({weiboA});
    const auto postA = addPost(weiboA);
    const auto postB = addPost(xB);
    AuthorMerge::refileBoards(context);
    ASSERT_TRUE(isOn(postA, viaB));
    ASSERT_TRUE(isOn(postB, ownBoard));

    AuthorMerge::split(weiboA, context);
    EXPECT_TRUE(groups().isEmpty());
    EXPECT_EQ(postA->boards(), QList<std::shared_ptr<Board>>({ownBoard}));
    EXPECT_EQ(postB->boards(), QList<std::shared_ptr<Board>>({viaB, ownBoard}));
    EXPECT_EQ(ownBoard->linkedAuthors(), QList<AuthorAccount>({weiboA}));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(AuthorMergeTest, SplittingOffAStarredPersonKeepsItWhileAMemberRemains)
{
    const auto group = addGroup({weiboA, xB}, true, noonWhole);
    AuthorMerge::split(weiboA, context);
    EXPECT_FALSE(group->isGone());
    EXPECT_EQ(group->main(), xB);
    EXPECT_EQ(group->members().size(), 1);
    EXPECT_TRUE(group->starred());

    AuthorMerge::split(xB, context);
    EXPECT_TRUE(group->isGone());
}

TEST_F(AuthorMergeTest, SplittingAnUngroupedAccountChangesAndSavesNothing)
{
    const auto post = addPost(weiboA);
    AuthorMerge::split(weiboA, context);
    EXPECT_TRUE(context.hasChanges());
    EXPECT_FALSE(post->isGone());
}

TEST_F(AuthorMergeTest, StarringUsesWholeSecondsAndUnstarringDropsSmallPersons)
{
    setClock(noon);
    AuthorMerge::setStarred(weiboA, true, context);
    ASSERT_EQ(groups().size(), 1);
    const auto group = groups().first();
    EXPECT_EQ(group->members(), QList<AuthorAccount>({weiboA}));
    EXPECT_EQ(group->name(), QStringLiteral("A"));
    EXPECT_TRUE(group->starred());
    EXPECT_EQ(group->starredAt(), noonWhole);
    EXPECT_FALSE(context.hasChanges());

    setClock(noon.addSecs(30));
    AuthorMerge::setStarred(weiboA, true, context);
    EXPECT_EQ(group->starredAt(), noonWhole.addSecs(30));

    AuthorMerge::setStarred(weiboA, false, context);
    EXPECT_TRUE(group->isGone());
    AuthorMerge::setStarred(weiboA, false, context);
    EXPECT_TRUE(groups().isEmpty());

    const auto three = addGroup({weiboA, xB, xhsC}, true, noonWhole);
    AuthorMerge::setStarred(xB, false, context);
    EXPECT_FALSE(three->isGone());
    EXPECT_FALSE(three->starred());
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
    EXPECT_EQ(AuthorDirectory(context).starred(), QList<AuthorAccount>({xhsC, weiboA, xB}));
    EXPECT_FALSE(context.hasChanges());
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
