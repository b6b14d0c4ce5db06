#include "AppLanguage.h"
#include "TestHome.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// Runs an event loop that ends by itself with 1 after a while; 0 means the
// application was told to quit meanwhile.
int runUntilQuitOrTimeout()
{
    QEventLoop loop;
    QTimer::singleShot(300, &loop, [&loop] { loop.exit(1); });
    return loop.exec();
}

TEST(AppLanguageRelaunchTest, QuitsOnlyOnceTheNewInstanceStarted)
{
    const std::optional<QString> failure = AppLanguage::relaunch(QStringLiteral("/nonexistent/kepsel"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_EQ(runUntilQuitOrTimeout(), 1) << "a failed relaunch leaves the application running";

    EXPECT_EQ(AppLanguage::relaunch(QStringLiteral("/bin/true")), std::nullopt);
    EXPECT_EQ(runUntilQuitOrTimeout(), 0);
}

} // namespace
