#include "KepselMacApp.h"

#include "AppDelegate.h"
#include "DockIcon.h"
#include "MacModel.h"
#include "MacSettingsView.h"
#include "MainWindow.h"
#include "MenuBarController.h"
#include "PasswordPrompt.h"
#include "Plugins.h"
#include "QuitShortcut.h"
#include "SettingsKey.h"
#include "Theme.h"
#include "UserDefaults.h"

#include <QApplication>

KepselMacApp::KepselMacApp(MacModel &model, MenuBarController &menuBar, QObject *parent)
    : QObject(parent), m_model(model), m_menuBar(menuBar),
      m_delegate(std::make_unique<AppDelegate>(model, menuBar)), m_desktopPalette(QApplication::palette())
{
    m_model.setOpenWindowAction([this](const QString &identifier) {
        if (identifier == MainWindow::identifier)
            showMainWindow();
    });
    m_model.setOpenSettingsWindow([this] { showSettingsWindow(); });
    m_model.setPasswordPrompt(
        [](const QString &reason) { return PasswordPrompt::ask(reason, QApplication::activeWindow()); });
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString &key) {
        if (key == SettingsKey::appearance)
            applyAppearance();
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, &m_model, &MacModel::applicationStateChanged);
    connect(qApp, &QCoreApplication::aboutToQuit, &m_model, &MacModel::aboutToQuit);
    connect(&m_menuBar, &MenuBarController::quitRequested, this, &KepselMacApp::quit);
    connect(new QuitShortcut(this), &QuitShortcut::activated, this, &KepselMacApp::quit);
    // Before any window, so no view is built in the colours of the wrong appearance.
    applyAppearance();
    m_delegate->applicationDidFinishLaunching();
}

KepselMacApp::~KepselMacApp()
{
    delete m_mainWindow;
    delete m_settingsWindow;
}

MainWindow *KepselMacApp::mainWindow() const
{
    return m_mainWindow;
}

void KepselMacApp::showMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = new MainWindow(m_model);
        connect(m_mainWindow, &MainWindow::settingsRequested, this, &KepselMacApp::showSettingsWindow);
        connect(m_mainWindow, &MainWindow::quitRequested, this, &KepselMacApp::quit);
        connect(m_mainWindow, &MainWindow::closing, m_delegate.get(), &AppDelegate::mainWindowWillClose);
        DockIcon::applyCurrent();
    }
    m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
    m_mainWindow->show();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void KepselMacApp::showSettingsWindow()
{
    if (!m_settingsWindow) {
        m_settingsWindow = new MacSettingsView(m_model, m_menuBar, Plugins::shared());
        m_settingsWindow->setObjectName(QStringLiteral("MacSettingsView"));
        m_settingsWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_settingsWindow->setWindowTitle(tr("设置"));
        placeOverMainWindow(m_settingsWindow);
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void KepselMacApp::placeOverMainWindow(QWidget *window) const
{
    // Left to the window manager, a small window can land in a far corner of the screen.
    if (m_mainWindow && m_mainWindow->isVisible())
        window->move(m_mainWindow->geometry().center() - window->rect().center());
}

void KepselMacApp::quit()
{
    // Closing first keeps the window's place for the next start.
    if (m_mainWindow)
        m_mainWindow->closeForQuit();
    QApplication::quit();
}

void KepselMacApp::applyAppearance()
{
    const QString appearance = UserDefaults::standard().string(SettingsKey::appearance).value_or(QString());
    if (appearance == QLatin1String("light"))
        QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    else if (appearance == QLatin1String("dark"))
        QApplication::setPalette(Theme::palette(Theme::Appearance::dark));
    else
        QApplication::setPalette(Theme::withAccentHighlight(m_desktopPalette));
}
