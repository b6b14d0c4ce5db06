#include "Motion.h"
#include "TestHome.h"

#include <QApplication>
#include <QFont>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestHome processHome;
    QApplication app(argc, argv);
    // The same face on every machine, with Chinese glyphs, for comparable screenshots.
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    // Views land on their end states at once; tests of motion step it themselves.
    Motion::setInstant(true);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
