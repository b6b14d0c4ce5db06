#include "SidebarItem.h"

#include "Board.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

namespace {

class SidebarItemTest : public HomeTest {
protected:
    template <class Record> std::shared_ptr<Record> add(std::shared_ptr<Record> record)
    {
        context.insert(record);
        return record;
    }

    std::shared_ptr<Post> addPost(bool isPrivate, bool isArchived)
    {
        auto post = add(std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo));
        post->setIsPrivate(isPrivate);
        post->setIsArchived(isArchived);
        post->setAuthorName(QStringLiteral("Lin"));
        return post;
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
};

TEST_F(SidebarItemTest, PrivateAndArchivedPostsShowOnlyInTheirOwnPlaces)
{
    const auto board = add(std::make_shared<Board>(QStringLiteral("旅行"), QString()));
    const auto tag = add(std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757")));
    const SidebarItem author = SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("Lin")));
    for (const bool isPrivate : {false, true})
        for (const bool isArchived : {false, true}) {
            const auto post = addPost(isPrivate, isArchived);
            post->setBoards({board});
            post->setTags({tag});
            const bool listed = !isPrivate && !isArchived;
            const QString flags = QStringLiteral("private %1 archived %2").arg(isPrivate).arg(isArchived);
            EXPECT_EQ(SidebarItem::all().contains(*post), listed) << qPrintable(flags);
            EXPECT_EQ(SidebarItem::archived().contains(*post), !isPrivate && isArchived) << qPrintable(flags);
            EXPECT_EQ(SidebarItem::privateSpace().contains(*post), isPrivate) << qPrintable(flags);
            EXPECT_EQ(SidebarItem::board(board).contains(*post), listed) << qPrintable(flags);
            EXPECT_EQ(SidebarItem::tag(tag).contains(*post), listed) << qPrintable(flags);
            EXPECT_EQ(author.contains(*post), listed) << qPrintable(flags);
        }
}

TEST_F(SidebarItemTest, BoardsMatchByIdentityAndAuthorsByPlatformAndExactName)
{
    const auto board = add(std::make_shared<Board>(QStringLiteral("同名"), QString()));
    const auto twin = add(std::make_shared<Board>(QStringLiteral("同名"), QString()));
    const auto post = addPost(false, false);
    post->setBoards({board});
    EXPECT_FALSE(SidebarItem::board(twin).contains(*post));
    EXPECT_FALSE(SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("lin"))).contains(*post));
    EXPECT_FALSE(SidebarItem::author(AuthorAccount(Platform::x, QStringLiteral("Lin"))).contains(*post));
    EXPECT_NE(SidebarItem::board(board), SidebarItem::board(twin));
}

} // namespace
