#include "KeyboardFocus.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFocusEvent>

KeyboardFocus::KeyboardFocus(QWidget *widget) : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        area->viewport()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &KeyboardFocus::followFocusChange);
}

bool KeyboardFocus::ringShown() const
{
    return m_byKeyboard && m_widget->hasFocus();
}

void KeyboardFocus::setByKeyboard(bool byKeyboard)
{
    if (byKeyboard == m_byKeyboard)
        return;
    m_byKeyboard = byKeyboard;
    emit changed();
}

// When the widget holding the focus hides (a page closed under it), Qt hands
// the focus on down the Tab order and gives Tab as the reason; no key moved
// it. Qt tells the widget it came from only after the focus events.
void KeyboardFocus::followFocusChange(QWidget *old, QWidget *now)
{
    if (now == m_widget && old && old->window() == m_widget->window() && !old->isVisible())
        setByKeyboard(false);
}

bool KeyboardFocus::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        switch (static_cast<QFocusEvent *>(event)->reason()) {
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason: m_byKeyboard = true; break;
        case Qt::MouseFocusReason: m_byKeyboard = false; break;
        default: break; // back from a popup or another window: as it was
        }
        emit changed();
        break;
    case QEvent::FocusOut: emit changed(); break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: setByKeyboard(false); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
