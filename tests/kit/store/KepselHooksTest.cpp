#include "KepselHooks.h"

#include <QCoroTimer>
#include <QStringList>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class KepselHooksTest : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear()
    {
        KepselHooks::postReady().clear();
        KepselHooks::postIDChanged().clear();
        KepselHooks::postDeletedBySync().clear();
    }

    // The hooks only hand the importer on; any address stands in for it.
    PostImporter &importer() { return *reinterpret_cast<PostImporter *>(&m_importerStandIn); }

    void runReady() { QCoro::waitFor(KepselHooks::ready(importer(), nullptr)); }

    QStringList events;

private:
    int m_importerStandIn = 0;
};

TEST_F(KepselHooksTest, ReadyWithoutCallbacksReturnsAtOnce)
{
    auto task = KepselHooks::ready(importer(), nullptr);
    EXPECT_TRUE(task.isReady());
}

TEST_F(KepselHooksTest, CallbacksRunInOrderEachAwaitedBeforeTheNext)
{
    KepselHooks::postReady().append([this](PostImporter &given, std::shared_ptr<Post>) -> QCoro::Task<> {
        EXPECT_EQ(&given, &importer());
        events << QStringLiteral("first begins");
        co_await QCoro::sleepFor(5ms);
        events << QStringLiteral("first ends");
    });
    KepselHooks::postReady().append([this](PostImporter &, std::shared_ptr<Post>) -> QCoro::Task<> {
        events << QStringLiteral("second");
        co_return;
    });
    runReady();
    EXPECT_EQ(events, QStringList({"first begins", "first ends", "second"}));
}

TEST_F(KepselHooksTest, CallbackAddedDuringARunWaitsForTheNextRun)
{
    KepselHooks::postReady().append([this](PostImporter &, std::shared_ptr<Post>) -> QCoro::Task<> {
        events << QStringLiteral("registering");
        KepselHooks::postReady().append([this](PostImporter &, std::shared_ptr<Post>) -> QCoro::Task<> {
            events << QStringLiteral("late");
            co_return;
        });
        co_return;
    });
    runReady();
    EXPECT_EQ(events, QStringList({"registering"}));
    KepselHooks::postReady().removeFirst();
    runReady();
    EXPECT_EQ(events, QStringList({"registering", "late"}));
}

} // namespace
