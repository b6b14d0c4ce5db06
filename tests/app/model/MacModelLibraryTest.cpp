#include "ModelFixture.h"
#include "Tag.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

namespace {

class MacModelLibraryTest : public ModelTest {
protected:
    MacModelLibraryTest() { makeModel(); }

    void unlock() { TestAsync::waitFor(model->unlockPrivate()); }
};

TEST_F(MacModelLibraryTest, FilesDroppedPostsButNotThoseAwaitingTheirDelete)
{
    const auto tag = std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757"));
    const auto tagged = addPost(QStringLiteral("https://127.0.0.1:9/a"));
    const auto plain = addPost(QStringLiteral("https://127.0.0.1:9/b"));
    tagged->setTags({tag});
    const QDateTime before = tagged->updatedAt();
    EXPECT_TRUE(model->file({tagged->id(), plain->id()}, SidebarItem::tag(tag)));
    EXPECT_EQ(tagged->updatedAt(), before);
    EXPECT_EQ(plain->tags().size(), 1);

    EXPECT_TRUE(model->file({plain->id()}, SidebarItem::archived()));
    EXPECT_FALSE(model->file({plain->id()}, SidebarItem::all()));
    // Posts awaiting their delete take no drop.
    model->pendingDelete().start({tagged}, 5);
    EXPECT_FALSE(model->file({tagged->id()}, SidebarItem::archived()));
    model->pendingDelete().undo();
}

TEST_F(MacModelLibraryTest, PrivateMarksAndDeletesAreOnDiskAtOnce)
{
    addPost(QStringLiteral("https://127.0.0.1:9/a"));
    const auto reopened = [this] {
        idle();
        model.reset();
        makeModel();
        return context().fetch<Post>();
    };
    model->setPrivate(context().fetch<Post>(), true);
    auto posts = reopened();
    ASSERT_EQ(posts.size(), 1);
    EXPECT_TRUE(posts.first()->isPrivate());

    model->pendingDelete().start(posts, 5);
    model->pendingDelete().commit();
    EXPECT_TRUE(reopened().isEmpty());
}

TEST_F(MacModelLibraryTest, UnlocksThePrivateSpaceUntilTheApplicationIsLeft)
{
    std::optional<QString> typed;
    model->setPasswordPrompt([&](const QString &) { return typed; });
    unlock();
    EXPECT_FALSE(model->privateUnlocked());
    EXPECT_TRUE(password->lastPassword.isEmpty());

    typed = QStringLiteral("secret");
    for (const std::optional<bool> answer : {std::optional<bool>(), std::optional<bool>(false)}) {
        model->setToast(std::nullopt);
        password->answer = answer;
        unlock();
        EXPECT_FALSE(model->privateUnlocked());
        // A failed check, and a wrong password alike, are said.
        EXPECT_TRUE(model->toast() && !model->toast()->isEmpty());
    }
    password->answer = true;
    unlock();
    EXPECT_TRUE(model->privateUnlocked());

    model->applicationStateChanged(Qt::ApplicationActive);
    model->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(model->privateUnlocked());
}

} // namespace
