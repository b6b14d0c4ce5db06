#include "AppLanguage.h"
#include "Motion.h"
#include "QtWarningTrap.h"
#include "TestHome.h"

#include <QApplication>
#include <QFont>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtWarningTrap trap;
    TestHome processHome;
    int result = 0;
    {
        QApplication app(argc, argv);
        // The same face on every machine, with Chinese glyphs, for comparable screenshots.
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
        // Chinese throughout, Qt's own dialogs included, whatever the machine speaks.
        AppLanguage(AppLanguage::zh).load(app);
        // Views land on their end states at once; tests of motion step it themselves.
        Motion::setInstant(true);
        ::testing::InitGoogleMock(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result != 0 || QtWarningTrap::caughtOutsideTests() ? 1 : 0;
}
