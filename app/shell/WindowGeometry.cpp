#include "WindowGeometry.h"

#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QWidget>

namespace {

// Far more than any saved geometry; a larger file is not read.
constexpr qint64 maxFileSize = 4096;

} // namespace

QString WindowGeometry::filePath()
{
    return UserDefaults::configFolder() + QStringLiteral("/window-geometry");
}

void WindowGeometry::restore(QWidget &window)
{
    QFile file(filePath());
    if (file.open(QIODevice::ReadOnly) && file.size() <= maxFileSize &&
        window.restoreGeometry(file.readAll()))
        return;
    window.resize(defaultWidth, defaultHeight);
}

void WindowGeometry::save(const QWidget &window)
{
    QDir().mkpath(UserDefaults::configFolder());
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(window.saveGeometry()) < 0 || !file.commit())
        qWarning("window geometry not saved: %s", qPrintable(file.errorString()));
}
