#include "AppDelegate.h"

#include "MacModel.h"
#include "MenuBarController.h"
#include "MenuBarSettings.h"

#include <QApplication>

AppDelegate::AppDelegate(MacModel &model, MenuBarController &menuBar, QObject *parent)
    : QObject(parent), m_model(model), m_menuBar(menuBar)
{
    // Whether to quit is decided here, also for a tray host that went away.
    QApplication::setQuitOnLastWindowClosed(false);
    connect(qApp, &QGuiApplication::lastWindowClosed, this, &AppDelegate::lastWindowClosed);
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (MenuBarSettings::enabled())
        m_menuBar.install();
    else
        m_menuBar.remove();
}

bool AppDelegate::applicationShouldTerminateAfterLastWindowClosed() const
{
    return !MenuBarSettings::enabled() || !m_menuBar.item() || !QSystemTrayIcon::isSystemTrayAvailable();
}

void AppDelegate::applicationShouldHandleReopen()
{
    m_model.openMainWindow();
}

void AppDelegate::mainWindowWillClose()
{
    m_model.mainWindowClosed();
}

void AppDelegate::lastWindowClosed()
{
    if (applicationShouldTerminateAfterLastWindowClosed())
        QApplication::quit();
}
