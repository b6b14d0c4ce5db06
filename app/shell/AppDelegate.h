#pragma once

#include <QObject>

class MacModel;
class MenuBarController;

// The application's answers to launching, its main window closing, its last
// window closing and a request to reopen.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    AppDelegate(MacModel &model, MenuBarController &menuBar, QObject *parent = nullptr);

    // Shows or hides the tray item as the settings say.
    void applicationDidFinishLaunching();
    // Whether the application ends when its last window closes: when it has
    // no tray item to live on in.
    bool applicationShouldTerminateAfterLastWindowClosed() const;
    void applicationShouldHandleReopen();
    void mainWindowWillClose();

private:
    void lastWindowClosed();

    MacModel &m_model;
    MenuBarController &m_menuBar;
};
