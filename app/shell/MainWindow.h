#pragma once

#include <QMainWindow>

class ContentView;
class MacModel;
class QAction;

// The main window: the content view, the menus with their shortcuts, and
// the remembered size and place. It is deleted when closed; the application
// builds a new one to show it again.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The identifier by which the model finds and reopens it.
    static const QString identifier;

    explicit MainWindow(MacModel &model, QWidget *parent = nullptr);

    ContentView &content() const { return *m_content; }
    // Closes the window for good, whatever the taskbar setting says.
    void closeForQuit();
    QAction *syncNowAction() const { return m_syncNow; }

signals:
    void settingsRequested();
    void quitRequested();
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void addMenus();
    void refreshSyncNow();

    // With the tray item on and the taskbar entry kept, closing only
    // minimises the window, so its taskbar entry brings it back.
    bool keepsTaskbarEntry() const;

    MacModel &m_model;
    ContentView *m_content;
    bool m_quitting = false;
    QAction *m_syncNow = nullptr;
};
