#pragma once

#include <QString>

// Turns Qt's warnings about broken signal connections into test failures:
// inside a test the test fails; outside one (at start-up or while the
// application object goes) the program's exit status reports it. Every
// message still reaches the usual output.
class QtWarningTrap {
public:
    QtWarningTrap();
    ~QtWarningTrap();
    QtWarningTrap(const QtWarningTrap &) = delete;
    QtWarningTrap &operator=(const QtWarningTrap &) = delete;

    // Whether a trapped warning came while no test was running.
    static bool caughtOutsideTests();
    // Whether this warning text is one the trap turns into a failure.
    static bool isTrapped(const QString &message);
};
