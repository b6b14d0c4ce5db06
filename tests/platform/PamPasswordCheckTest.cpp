#include "PamPasswordCheck.h"
#include "WaitFor.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(PamPasswordCheckTest, AWrongPasswordIsRefusedWithoutBlockingTheMainThread)
{
    // PAM waits on purpose after a failure; the main thread keeps running meanwhile.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    PamPasswordCheck check;
    EXPECT_FALSE(TestAsync::waitFor(check.verify(QStringLiteral("不是这个密码 wrong-password"))));
    EXPECT_GT(ticks, 3);
}

} // namespace
