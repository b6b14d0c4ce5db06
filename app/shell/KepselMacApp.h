#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>
#include <memory>

class AppDelegate;
class MacModel;
class MainWindow;
class MenuBarController;
class QWidget;

// The application: the one central model, the main and settings windows,
// the tray item and the appearance, applied as it is made. Made after the
// translator is loaded and before any window.
class KepselMacApp : public QObject {
    Q_OBJECT
public:
    // Works on the given model and tray item: the shared ones in the
    // application, the test's own in tests.
    KepselMacApp(MacModel &model, MenuBarController &menuBar, QObject *parent = nullptr);
    ~KepselMacApp() override;

    AppDelegate &delegate() const { return *m_delegate; }
    // The open main window, or null.
    MainWindow *mainWindow() const;

    // Builds and shows the main window unless it is open.
    void showMainWindow();
    void showSettingsWindow();
    // Quits as the Quit command does.
    void quit();

    // "light" and "dark" install the theme's palettes; anything else
    // follows the desktop.
    void applyAppearance();

private:
    void placeOverMainWindow(QWidget *window) const;

    MacModel &m_model;
    MenuBarController &m_menuBar;
    std::unique_ptr<AppDelegate> m_delegate;
    QPointer<MainWindow> m_mainWindow;
    QPointer<QWidget> m_settingsWindow;
    const QPalette m_desktopPalette;
};
