#include "LibraryFixture.h"
#include "SidebarIndex.h"

namespace {

class SidebarIndexTest : public LibraryFixture {
protected:
    SidebarIndex index(bool privateUnlocked = false, const QSet<QUuid> &hidden = {})
    {
        return SidebarIndex(context.fetch<Post>(), privateUnlocked, hidden);
    }
};

TEST_F(SidebarIndexTest, CountsEachPostBehindOneEntryOnly)
{
    auto board = addBoard(QStringLiteral("旅行"));
    auto tag = addTag(QStringLiteral("猫"));
    auto listed = addPost(QStringLiteral("listed"));
    auto secret = addPost(QStringLiteral("secret"));
    auto archived = addPost(QStringLiteral("archived"));
    auto hidden = addPost(QStringLiteral("hidden"));
    for (const auto &post : {listed, secret, archived, hidden}) {
        post->setBoards({board});
        post->setTags({tag});
    }
    secret->setIsPrivate(true);
    archived->setIsArchived(true);
    save();

    const SidebarIndex locked = index(false, {hidden->id()});
    EXPECT_EQ(locked.count(SidebarItem::all()), 1);
    EXPECT_EQ(locked.count(SidebarItem::board(board)), 1) << "archived and private posts stay out";
    EXPECT_EQ(locked.count(SidebarItem::privateSpace()), 0);

    const SidebarIndex unlocked = index(true, {hidden->id()});
    EXPECT_EQ(unlocked.count(SidebarItem::privateSpace()), 1);
    EXPECT_EQ(unlocked.count(SidebarItem::all()), 1);
}

TEST_F(SidebarIndexTest, BoardCoverIsTheNewestListedPostWithMedia)
{
    auto board = addBoard(QStringLiteral("旅行"));
    auto older = addPost(QStringLiteral("older"));
    auto oldCover = addCover(older, 100, 100);
    auto newer = addPost(QStringLiteral("newer, no media"));
    auto archived = addPost(QStringLiteral("archived, newest"));
    addCover(archived, 100, 100);
    archived->setIsArchived(true);
    for (const auto &post : {older, newer, archived})
        post->setBoards({board});
    save();
    EXPECT_EQ(index().cover(board->id()), oldCover);
}

} // namespace
