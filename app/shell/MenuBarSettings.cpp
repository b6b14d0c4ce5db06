#include "MenuBarSettings.h"

#include "FileError.h"
#include "StoreMigration.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>

namespace {

// Exec arguments are quoted with backslash escapes for the characters the
// desktop entry format reserves inside quotes.
QString quotedExec(const QString &path)
{
    QString escaped = path;
    for (const char *reserved : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(reserved), QLatin1String("\\") + QLatin1String(reserved));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QByteArray loginItem()
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kepsel\n"
                          "Exec=%1\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quotedExec(QCoreApplication::applicationFilePath()))
        .toUtf8();
}

} // namespace

bool MenuBarSettings::enabled()
{
    return UserDefaults::standard().boolObject(QStringLiteral("menuBarEnabled"), true);
}

bool MenuBarSettings::hidesDock()
{
    return UserDefaults::standard().boolObject(QStringLiteral("menuBarHideDock"), true);
}

QString MenuBarSettings::loginItemPath()
{
    // Named like the application's own desktop entry.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + StoreMigration::macBundleID() + QStringLiteral(".desktop");
}

bool MenuBarSettings::launchesAtLogin()
{
    return QFile::exists(loginItemPath());
}

void MenuBarSettings::setLaunchAtLogin(bool on)
{
    const QString path = loginItemPath();
    if (!on) {
        if (QFile::exists(path) && !QFile::remove(path))
            throw LoginItemError(QCoreApplication::translate("MenuBarSettings", "无法删除登录项：%1")
                                     .arg(QDir::toNativeSeparators(path))
                                     .toStdString());
        return;
    }
    errno = 0;
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(loginItem()) < 0 || !file.commit())
        throw LoginItemError(QCoreApplication::translate("MenuBarSettings", "无法写入登录项：%1")
                                 .arg(FileError::reason(errno))
                                 .toStdString());
}
