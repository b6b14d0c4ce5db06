#include "WindowChrome.h"

#include "Theme.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

WindowChrome::WindowChrome(QWidget *window) : QObject(window), m_window(window)
{
    qApp->installEventFilter(this);
    paintBackground();
}

bool WindowChrome::eventFilter(QObject *watched, QEvent *event)
{
    // The window's own palette keeps its background, so the appearance is
    // read from the application's palette when that changes.
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        paintBackground();
    return false;
}

void WindowChrome::paintBackground()
{
    const QColor colour = Theme::background().resolved();
    if (m_window->autoFillBackground() && m_window->palette().color(QPalette::Window) == colour)
        return;
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, colour);
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
}
