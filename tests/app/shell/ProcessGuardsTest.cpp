#include "SingleInstance.h"
#include "TerminationSignal.h"
#include "TestHome.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <csignal>
#include <gtest/gtest.h>

namespace {

using ProcessGuardsTest = HomeTest;

TEST_F(ProcessGuardsTest, ASecondStartAsksTheFirstToReopenAndGivesUp)
{
    std::unique_ptr<SingleInstance> first = SingleInstance::claim();
    ASSERT_TRUE(first);
    QSignalSpy reopen(first.get(), &SingleInstance::reopenRequested);

    EXPECT_FALSE(SingleInstance::claim());
    EXPECT_TRUE(reopen.wait(2000));

    // Anything else on the socket is no request.
    QLocalSocket stranger;
    stranger.connectToServer(SingleInstance::serverName());
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write(QByteArray(4096, 'x') + "\nreopen");
    stranger.waitForBytesWritten(2000);
    EXPECT_FALSE(reopen.wait(300));
    EXPECT_EQ(reopen.count(), 1);

    first.reset();
    EXPECT_TRUE(SingleInstance::claim());
}

TEST(TerminationSignalTest, SigtermArrivesOnTheMainLoop)
{
    TerminationSignal watcher;
    QSignalSpy received(&watcher, &TerminationSignal::received);
    std::raise(SIGTERM);
    EXPECT_TRUE(received.wait(2000));
}

} // namespace
