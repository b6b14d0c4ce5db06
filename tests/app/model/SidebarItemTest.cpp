#include "SidebarItem.h"

#include "Board.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QSet>

namespace {

class SidebarItemTest : public HomeTest {
protected:
    std::shared_ptr<Post> addPost(bool isPrivate = false, bool isArchived = false)
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
        post->setIsPrivate(isPrivate);
        post->setIsArchived(isArchived);
        context.insert(post);
        return post;
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
};

TEST_F(SidebarItemTest, FixedItemsSplitPostsByPrivateAndArchivedFlags)
{
    struct Row {
        bool isPrivate, isArchived;
        bool all, archived, privateSpace;
    };
    const Row rows[] = {
        {false, false, true, false, false},
        {false, true, false, true, false},
        {true, false, false, false, true},
        {true, true, false, false, true},
    };
    for (const Row &row : rows) {
        const auto post = addPost(row.isPrivate, row.isArchived);
        const QString flags = QStringLiteral("private %1 archived %2").arg(row.isPrivate).arg(row.isArchived);
        EXPECT_EQ(SidebarItem::all().contains(*post), row.all) << qPrintable(flags);
        EXPECT_EQ(SidebarItem::archived().contains(*post), row.archived) << qPrintable(flags);
        EXPECT_EQ(SidebarItem::privateSpace().contains(*post), row.privateSpace) << qPrintable(flags);
        EXPECT_FALSE(SidebarItem::organize().contains(*post)) << qPrintable(flags);
    }
}

TEST_F(SidebarItemTest, BoardsAndTagsListOnlyTheirOwnObjectAndNeverHiddenPosts)
{
    auto board = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    auto twin = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    auto tag = std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757"));
    context.insert(board);
    context.insert(twin);
    context.insert(tag);
    const auto post = addPost();
    post->setBoards({board});
    post->setTags({tag});

    EXPECT_TRUE(SidebarItem::board(board).contains(*post));
    EXPECT_FALSE(SidebarItem::board(twin).contains(*post));
    EXPECT_TRUE(SidebarItem::tag(tag).contains(*post));

    post->setIsArchived(true);
    EXPECT_FALSE(SidebarItem::board(board).contains(*post));
    EXPECT_FALSE(SidebarItem::tag(tag).contains(*post));
    post->setIsArchived(false);
    post->setIsPrivate(true);
    EXPECT_FALSE(SidebarItem::board(board).contains(*post));
}

TEST_F(SidebarItemTest, AuthorsMatchOnPlatformAndExactName)
{
    const auto post = addPost();
    post->setAuthorName(QStringLiteral("Lin"));
    EXPECT_TRUE(SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("Lin"))).contains(*post));
    EXPECT_FALSE(SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("lin"))).contains(*post));
    EXPECT_FALSE(SidebarItem::author(AuthorAccount(Platform::x, QStringLiteral("Lin"))).contains(*post));
    post->setIsPrivate(true);
    EXPECT_FALSE(SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("Lin"))).contains(*post));
}

TEST_F(SidebarItemTest, ItemsCompareAndHashByCaseAndPayload)
{
    auto board = std::make_shared<Board>(QStringLiteral("同名"), QString());
    auto twin = std::make_shared<Board>(QStringLiteral("同名"), QString());
    const AuthorAccount lin(Platform::weibo, QStringLiteral("Lin"));

    EXPECT_EQ(SidebarItem::board(board), SidebarItem::board(board));
    EXPECT_EQ(qHash(SidebarItem::board(board)), qHash(SidebarItem::board(board)));
    EXPECT_NE(SidebarItem::board(board), SidebarItem::board(twin));
    EXPECT_NE(SidebarItem::all(), SidebarItem::organize());
    EXPECT_EQ(SidebarItem::author(lin),
              SidebarItem::author(AuthorAccount(Platform::weibo, QStringLiteral("Lin"))));

    const QSet<SidebarItem> items{SidebarItem::all(),        SidebarItem::organize(),
                                  SidebarItem::board(board), SidebarItem::board(twin),
                                  SidebarItem::board(board), SidebarItem::author(lin),
                                  SidebarItem::author(lin)};
    EXPECT_EQ(items.size(), 5);
}

TEST_F(SidebarItemTest, TitlesFollowTheStoreObjects)
{
    EXPECT_EQ(SidebarItem::all().title(), QStringLiteral("全部收藏"));
    EXPECT_EQ(SidebarItem::organize().title(), QStringLiteral("整理"));
    EXPECT_EQ(SidebarItem::archived().title(), QStringLiteral("已归档"));
    EXPECT_EQ(SidebarItem::privateSpace().title(), QStringLiteral("隐私空间"));
    EXPECT_EQ(SidebarItem::author(AuthorAccount(Platform::x, QStringLiteral("Ann"))).title(),
              QStringLiteral("Ann"));

    auto board = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    auto tag = std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757"));
    context.insert(board);
    context.insert(tag);
    const SidebarItem boardItem = SidebarItem::board(board);
    board->setName(QStringLiteral("远方"));
    EXPECT_EQ(boardItem.title(), QStringLiteral("远方"));
    EXPECT_EQ(SidebarItem::tag(tag).title(), QStringLiteral("#猫"));

    context.remove(board);
    context.remove(tag);
    EXPECT_EQ(boardItem.title(), QString());
    EXPECT_EQ(SidebarItem::tag(tag).title(), QString());
}

} // namespace
