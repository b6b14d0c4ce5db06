#pragma once

#include <QObject>

// Ctrl+Q, the desktop's quit key, heard in every window of the application:
// the settings window, sheets, previews and dialogs as well as the main
// window, whose menu shows it. A modal dialog blocks the main window's own
// shortcuts, so the key is caught before any window sees it.
class QuitShortcut : public QObject {
    Q_OBJECT
public:
    // Listens to the whole application while it lives.
    explicit QuitShortcut(QObject *parent = nullptr);

signals:
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
