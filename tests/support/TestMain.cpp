#include "QtWarningTrap.h"
#include "TestHome.h"

#include <QGuiApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtWarningTrap trap;
    // A home for the whole run, before anything can read the real one.
    TestHome processHome;
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        ::testing::InitGoogleMock(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result != 0 || QtWarningTrap::caughtOutsideTests() ? 1 : 0;
}
