#include "Screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

bool saveScreenshot(QWidget &widget, const QString &name)
{
    // What a user sees: the layouts a change asked for are done before the
    // next paint reaches the screen.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QString folder = QStringLiteral(KEPSEL_SCREENSHOTS_DIR);
    return QDir().mkpath(folder) &&
           widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
