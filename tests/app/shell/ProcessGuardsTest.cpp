#include "LockWaitClock.h"
#include "SingleInstance.h"
#include "TerminationSignal.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
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
    EXPECT_TRUE(reopen.count() == 1 || reopen.wait(10000));

    // Anything else on the socket is no request: the first hangs up once it has read it.
    QLocalSocket stranger;
    stranger.connectToServer(SingleInstance::serverName());
    ASSERT_TRUE(stranger.waitForConnected(10000));
    stranger.write(QByteArray(4096, 'x') + "\nreopen");
    stranger.waitForBytesWritten(10000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 10000));
    EXPECT_EQ(reopen.count(), 1);

    first.reset();
    EXPECT_TRUE(SingleInstance::claim());
}

// A start killed while it took the lock leaves it empty; the next start
// must not take that for a running instance and quietly give up.
TEST_F(ProcessGuardsTest, AnEmptyInstanceLockIsWaitedForAndTakenOnceOldEnough)
{
    LockWaitClock clock;
    QDir().mkpath(UserDefaults::configFolder());
    clock.leaveLock(UserDefaults::configFolder() + QStringLiteral("/instance.lock"), {},
                    std::chrono::seconds(3));
    EXPECT_TRUE(SingleInstance::claim());
    EXPECT_GE(clock.waited(), LockFiles::takingTime - std::chrono::seconds(3));
    EXPECT_LT(clock.waited(), LockFiles::takingTime);
}

TEST(TerminationSignalTest, SigtermArrivesOnTheMainLoop)
{
    TerminationSignal watcher;
    QSignalSpy received(&watcher, &TerminationSignal::received);
    std::raise(SIGTERM);
    EXPECT_TRUE(received.count() == 1 || received.wait(10000));
}

} // namespace
