#include "Naming.h"

#include "Board.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

namespace {

class NamingTest : public HomeTest {
protected:
    // The store as the next launch sees it.
    ModelContext &reopened()
    {
        container.reset();
        container = TamselStore::makeContainer(false);
        return container->mainContext();
    }

    std::optional<SidebarItem> commit(const Naming &naming, const QString &text)
    {
        auto &context = container->mainContext();
        return naming.commit(text, context, [&context](const QString &name) {
            for (const auto &tag : context.fetch<Tag>())
                if (tag->name() == name)
                    return tag;
            auto tag = std::make_shared<Tag>(name, QStringLiteral("#D97757"));
            context.insert(tag);
            return tag;
        });
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
};

TEST_F(NamingTest, NewBoardsAreSavedEvenUnderATakenNameWhileTagsAreReused)
{
    EXPECT_FALSE(commit(Naming::newBoard(), QStringLiteral(" \n\t ")));
    const auto first = commit(Naming::newBoard(), QStringLiteral("  旅行\n"));
    const auto second = commit(Naming::newBoard(), QStringLiteral("旅行"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->boardObject()->name(), QStringLiteral("旅行"));
    EXPECT_NE(*first, *second);

    const auto tag = commit(Naming::newTag(), QStringLiteral("猫"));
    const auto again = commit(Naming::newTag(), QStringLiteral(" 猫 "));
    ASSERT_TRUE(tag && again);
    EXPECT_EQ(*tag, *again);

    EXPECT_EQ(reopened().fetch<Board>().size(), 2);
}

TEST_F(NamingTest, RenamesChangeBoardsAndTagsOnly)
{
    auto board = std::make_shared<Board>(QStringLiteral("旧"), QString());
    auto tag = std::make_shared<Tag>(QStringLiteral("旧"), QStringLiteral("#D97757"));
    container->mainContext().insert(board);
    container->mainContext().insert(tag);

    EXPECT_FALSE(commit(Naming::rename(SidebarItem::board(board)), QStringLiteral("新合集")));
    EXPECT_FALSE(commit(Naming::rename(SidebarItem::tag(tag)), QStringLiteral("新标签")));
    EXPECT_FALSE(commit(Naming::rename(SidebarItem::all()), QStringLiteral("别的")));
    EXPECT_EQ(tag->name(), QStringLiteral("新标签"));
    EXPECT_FALSE(container->mainContext().hasChanges());
    EXPECT_EQ(reopened().fetch<Board>().value(0)->name(), QStringLiteral("新合集"));
}

TEST_F(NamingTest, DeletingABoardKeepsItsPosts)
{
    auto &context = container->mainContext();
    auto board = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
    post->setBoards({board});
    context.insert(post);

    Naming::commitDelete(SidebarItem::all(), context);
    EXPECT_FALSE(board->isGone());
    Naming::commitDelete(SidebarItem::board(board), context);
    EXPECT_TRUE(post->boards().isEmpty());
    auto &next = reopened();
    EXPECT_TRUE(next.fetch<Board>().isEmpty());
    EXPECT_EQ(next.fetch<Post>().size(), 1);
}

} // namespace
