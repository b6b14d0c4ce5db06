#include "KepselHooks.h"

#include <QCoroTimer>
#include <QStringList>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class KepselHooksTest : public ::testing::Test {
protected:
    void TearDown() override { KepselHooks::postReady().clear(); }

    // The hooks only hand the importer on; any address stands in for it.
    PostImporter &importer() { return *reinterpret_cast<PostImporter *>(&m_importerStandIn); }

    void append(const QString &name, std::function<void()> during = {})
    {
        KepselHooks::postReady().append(
            [=, this](PostImporter &given, std::shared_ptr<Post>) -> QCoro::Task<> {
                EXPECT_EQ(&given, &importer());
                events << name + " begins";
                if (during)
                    during();
                co_await QCoro::sleepFor(2ms);
                events << name + " ends";
            });
    }

    QStringList events;
    int m_importerStandIn = 0;
};

TEST_F(KepselHooksTest, CallbacksRunOneAfterAnotherAndOnesAddedMeanwhileWaitForTheNextPost)
{
    append("first", [this] { append("late"); });
    append("second");
    QCoro::waitFor(KepselHooks::ready(importer(), nullptr));
    EXPECT_EQ(events, QStringList({"first begins", "first ends", "second begins", "second ends"}));
    EXPECT_EQ(KepselHooks::postReady().size(), 3) << "the late one waits for the next post";
}

} // namespace
