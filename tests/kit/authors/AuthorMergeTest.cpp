#include "AuthorMerge.h"

#include "AuthorLibrary.h"
#include "Clock.h"

namespace {

using Boards = QList<std::shared_ptr<Board>>;

class AuthorMergeTest : public AuthorLibrary {
protected:
    const AuthorAccount weiboA = account(Platform::weibo, "A");
    const AuthorAccount xB = account(Platform::x, "B");
    const AuthorAccount xhsC = account(Platform::xiaohongshu, "C");

    std::shared_ptr<AuthorGroup> merge(const AuthorAccount &source, const AuthorAccount &into)
    {
        return AuthorMerge::merge(source, into, context);
    }
    qsizetype groupCount() const { return context.fetch<AuthorGroup>().size(); }
};

// Accounts that already make one person must not be joined again: the group
// would list an account twice. Names with line breaks cannot be stored in a
// member list, so they never join a person.
TEST_F(AuthorMergeTest, MergingWithinOnePersonOrWithAnUnstorableNameAddsNoMember)
{
    EXPECT_EQ(merge(weiboA, weiboA), nullptr);
    const AuthorAccount broken = account(Platform::x, "Eve\nweibo\tMallory");
    EXPECT_EQ(merge(broken, weiboA), nullptr);
    EXPECT_EQ(merge(weiboA, broken), nullptr);
    AuthorMerge::setStarred(broken, true, context);

    const auto group = addGroup({xB, weiboA, xhsC});
    EXPECT_EQ(merge(xhsC, weiboA), group);
    EXPECT_EQ(group->membersRaw(), AuthorAccount::keyList({xB, weiboA, xhsC}));
    EXPECT_EQ(groupCount(), 1);
}

TEST_F(AuthorMergeTest, MergeFilesPostsOnThePersonsBoardsAndSplitTakesOffOnlyTheAccountsOnes)
{
    const auto viaB = addBoard({xB});
    const auto ownBoard = addBoard({weiboA});
    const auto other = addBoard({account(Platform::douyin, "D")});
    const auto postA = addPost(weiboA);
    const auto postB = addPost(xB);
    addPost(account(Platform::weibo, ""));

    merge(weiboA, xB);
    EXPECT_EQ(postA->boards(), Boards({viaB, ownBoard}));
    EXPECT_TRUE(other->posts().isEmpty());

    AuthorMerge::split(weiboA, context);
    EXPECT_EQ(postA->boards(), Boards({ownBoard}));
    EXPECT_EQ(postB->boards(), Boards({viaB, ownBoard}));
}


// Star times are whole seconds of the clock; unstarring drops a person that is
// too small to live unstarred; reordering gives each position one second less.
TEST_F(AuthorMergeTest, StarringUnstarringAndReordering)
{
    const QDateTime noon = QDateTime::fromString(QStringLiteral("2024-05-01T12:00:00Z"), Qt::ISODate);
    Clock::setSource([noon] { return noon.addMSecs(750); });
    AuthorMerge::setStarred(weiboA, true, context);
    const auto single = context.fetch<AuthorGroup>().value(0);
    ASSERT_TRUE(single);
    AuthorMerge::setStarred(weiboA, false, context);
    EXPECT_TRUE(single->isGone());

    const auto b = addGroup({xB}, true, noon.addDays(-2));
    const auto c = addGroup({xhsC, weiboA}, true, noon.addDays(-1));
    AuthorMerge::reorderStarred({xhsC, account(Platform::web, "Loose"), xB}, context);
    EXPECT_EQ(b->starredAt(), noon.addSecs(-2));
    AuthorMerge::setStarred(weiboA, false, context);
    EXPECT_FALSE(c->isGone());
    EXPECT_EQ(c->starredAt(), std::nullopt);
}

} // namespace
