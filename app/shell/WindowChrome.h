#pragma once

#include <QObject>

class QWidget;

// Keeps a window's background in the page colour of the current appearance,
// also when the appearance changes while the window is open.
class WindowChrome : public QObject {
    Q_OBJECT
public:
    explicit WindowChrome(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintBackground();

    QWidget *m_window;
};
