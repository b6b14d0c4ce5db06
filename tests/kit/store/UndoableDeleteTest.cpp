#include "Clock.h"
#include "Post.h"
#include "StoreError.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {

using Lists = QList<UndoableDelete::PostList>;

class UndoableDeleteTest : public HomeTest {
protected:
    void SetUp() override
    {
        holder.setOnCommit([this](const UndoableDelete::PostList &posts) { committed.append(posts); });
    }

    std::shared_ptr<Post> insertPost()
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://example.com/1"), Platform::web);
        container->mainContext().insert(post);
        return post;
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    UndoableDelete holder;
    Lists committed;
    QDateTime now = QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
    std::shared_ptr<Post> first = insertPost();
    std::shared_ptr<Post> second = insertPost();
};

// A delay that fires after its delete was committed or undone must not act
// on a later one.
TEST_F(UndoableDeleteTest, StaleDelaysAfterANewDeleteOrUndoDoNothing)
{
    holder.start({first}, 0.01);
    holder.start({second}, 60);
    EXPECT_EQ(committed, Lists({{first}}));
    TestAsync::runTimersDueWithin(30ms);
    EXPECT_EQ(holder.posts(), UndoableDelete::PostList({second}));
    holder.start({}, 60);
    EXPECT_EQ(committed, Lists({{first}, {second}}));

    committed.clear();
    holder.start({first}, 0.01);
    holder.undo();
    EXPECT_FALSE(holder.isHidden(*first));
    TestAsync::runTimersDueWithin(30ms);
    holder.commit();
    EXPECT_TRUE(committed.isEmpty());
}

// After an hour of sleep the event loop's timers have barely moved on; the
// delete is due all the same.
TEST_F(UndoableDeleteTest, TheDelayKeepsCountingWhileTheComputerSleeps)
{
    const auto check = [] { TestAsync::runTimersDueWithin(UndoableDelete::checkInterval + 1ms); };
    Clock::setSource([this] { return now; });
    holder.start({first}, 5);
    now = now.addMSecs(4999);
    check();
    EXPECT_TRUE(committed.isEmpty());

    now = now.addSecs(3600);
    check();
    EXPECT_EQ(committed, Lists({{first}}));
}

TEST_F(UndoableDeleteTest, OnlyPostsThatStillExistReachTheCommit)
{
    holder.start({first, second}, 60);
    container->mainContext().remove(second);
    holder.commit();
    EXPECT_EQ(committed, Lists({{first}}));
}

TEST_F(UndoableDeleteTest, ACommitThatThrowsInItsDelayIsLoggedNotFatal)
{
    static QStringList logged;
    logged.clear();
    const auto previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { logged.append(message); });
    holder.setOnCommit(
        [](const UndoableDelete::PostList &) { throw StoreError(QStringLiteral("disk is full")); });
    holder.start({first}, 0.01);
    // A loaded machine may run the delay late: wait for it, not a fixed time.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !logged.isEmpty(); }, 10000));
    qInstallMessageHandler(previous);
    EXPECT_TRUE(holder.posts().isEmpty());
}

} // namespace
