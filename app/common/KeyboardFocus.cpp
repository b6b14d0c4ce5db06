#include "KeyboardFocus.h"

#include <QAbstractScrollArea>
#include <QFocusEvent>

KeyboardFocus::KeyboardFocus(QWidget *widget) : QObject(widget), m_widget(widget)
{
    widget->installEventFilter(this);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        area->viewport()->installEventFilter(this);
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
