// The main() of the benchmarks that draw or lay out widgets: offscreen, in
// the application's font, with settings and stores kept out of the user's
// folders.

#include "RunBenchmarks.h"

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, home.path().toUtf8());
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 10));
    return runBenchmarks<QApplication>(argc, argv);
}
