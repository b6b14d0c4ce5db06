#include "QtWarningTrap.h"

#include <QtGlobal>
#include <atomic>
#include <gtest/gtest.h>

namespace {

QtMessageHandler previousHandler = nullptr;
std::atomic<bool> strayWarning = false;

void trap(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (previousHandler)
        previousHandler(type, context, message);
    if (type != QtWarningMsg || !QtWarningTrap::isTrapped(message))
        return;
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << "Qt warned: " << message.toStdString();
    else
        strayWarning = true;
}

} // namespace

QtWarningTrap::QtWarningTrap()
{
    previousHandler = qInstallMessageHandler(trap);
}

QtWarningTrap::~QtWarningTrap()
{
    qInstallMessageHandler(previousHandler);
}

bool QtWarningTrap::caughtOutsideTests()
{
    return strayWarning;
}

bool QtWarningTrap::isTrapped(const QString &message)
{
    // The offscreen platform lacks a signal Qt's own tray icon asks for.
    if (message.contains(QLatin1String("QPlatformNativeInterface::")))
        return false;
    return message.startsWith(QLatin1String("QObject::connect")) ||
           message.startsWith(QLatin1String("QObject::disconnect"));
}
