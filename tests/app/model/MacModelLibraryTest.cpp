#include "Board.h"
#include "ModelFixture.h"
#include "Tag.h"
#include "TelegramLedger.h"
#include "Text.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

namespace {

class MacModelLibraryTest : public ModelTest {
protected:
    MacModelLibraryTest() { makeModel(); }

    std::optional<SidebarItem> name(const Naming &naming, const QString &text)
    {
        model->setNaming(naming);
        model->setNamingText(text);
        return model->commitName();
    }
    template <class T> qsizetype count() { return context().fetch<T>().size(); }
};

TEST_F(MacModelLibraryTest, NamesTagsAndBoardsAndDeletesThem)
{
    EXPECT_FALSE(name(Naming::newTag(), QStringLiteral("  \n")));
    EXPECT_FALSE(model->naming());
    EXPECT_EQ(count<Tag>(), 0);

    const auto tag = name(Naming::newTag(), QStringLiteral(" 猫 "));
    ASSERT_TRUE(tag && tag->tagObject());
    EXPECT_EQ(name(Naming::newTag(), QStringLiteral("猫")), tag);
    const auto board = name(Naming::newBoard(), QStringLiteral("旅行"));
    name(Naming::newBoard(), QStringLiteral("旅行"));
    EXPECT_EQ(count<Board>(), 2);

    EXPECT_FALSE(name(Naming::rename(*board), QStringLiteral("远方")));
    EXPECT_EQ(board->boardObject()->name(), QStringLiteral("远方"));

    const auto post = addPost(QStringLiteral("https://127.0.0.1:9/a"));
    post->setBoards({board->boardObject()});
    model->setDeleting(board);
    model->commitDelete();
    EXPECT_FALSE(model->deleting());
    EXPECT_EQ(count<Board>(), 1);
    EXPECT_EQ(count<Post>(), 1);
    EXPECT_TRUE(post->boards().isEmpty());
}

TEST_F(MacModelLibraryTest, FilesDroppedPostsAndCountsThemAll)
{
    const auto tag = std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757"));
    context().insert(tag);
    const auto tagged = addPost(QStringLiteral("https://127.0.0.1:9/a"));
    const auto plain = addPost(QStringLiteral("https://127.0.0.1:9/b"));
    tagged->setTags({tag});
    const QDateTime before = tagged->updatedAt();

    EXPECT_TRUE(model->file({tagged->id(), plain->id()}, SidebarItem::tag(tag)));
    EXPECT_EQ(model->toast(), QStringLiteral("2 条已添加标签 #猫"));
    EXPECT_EQ(tagged->updatedAt(), before);
    EXPECT_EQ(plain->tags().size(), 1);

    EXPECT_TRUE(model->file({plain->id()}, SidebarItem::archived()));
    EXPECT_EQ(model->toast(), QStringLiteral("已归档"));
    EXPECT_TRUE(plain->isArchived());
    EXPECT_FALSE(model->file({plain->id()}, SidebarItem::all()));

    // Posts awaiting their delete take no drop.
    model->pendingDelete().start({tagged}, 5);
    EXPECT_FALSE(model->file({tagged->id()}, SidebarItem::archived()));
    model->pendingDelete().undo();
}

TEST_F(MacModelLibraryTest, AFinalDeleteRemovesThePostsAndTheirLedgerEntries)
{
    const auto post = addPost(QStringLiteral("https://127.0.0.1:9/a"));
    const QString key = Text::uuidText(post->id());
    TelegramLedger::set({41, 42}, key);
    model->pendingDelete().start({post}, 5);
    model->pendingDelete().commit();
    EXPECT_EQ(count<Post>(), 0);
    EXPECT_TRUE(TelegramLedger::ids(key).isEmpty());
}

TEST_F(MacModelLibraryTest, UnlocksThePrivateSpaceUntilTheApplicationIsLeft)
{
    QStringList reasons;
    std::optional<QString> typed;
    model->setPasswordPrompt([&](const QString &reason) {
        reasons << reason;
        return typed;
    });
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_FALSE(model->privateUnlocked());
    EXPECT_TRUE(password->lastPassword.isEmpty());
    EXPECT_EQ(reasons, QStringList{QStringLiteral("解锁隐私空间")});

    typed = QStringLiteral("secret");
    password->answer = FakePasswordCheck::Answer::broken;
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_FALSE(model->privateUnlocked());
    EXPECT_EQ(model->toast(), QStringLiteral("认证服务不可用"));

    password->answer = FakePasswordCheck::Answer::wrong;
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_FALSE(model->privateUnlocked());

    password->answer = FakePasswordCheck::Answer::right;
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_TRUE(model->privateUnlocked());
    EXPECT_EQ(password->lastPassword, QStringLiteral("secret"));

    model->applicationStateChanged(Qt::ApplicationActive);
    model->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(model->privateUnlocked());
}

} // namespace
