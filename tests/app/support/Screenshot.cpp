#include "Screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

bool saveScreenshot(QWidget &widget, const QString &name)
{
    const QString folder = QStringLiteral(KEPSEL_SCREENSHOTS_DIR);
    return QDir().mkpath(folder) &&
           widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}
