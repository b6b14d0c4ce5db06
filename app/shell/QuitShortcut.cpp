#include "QuitShortcut.h"

#include <QCoreApplication>
#include <QKeyEvent>

QuitShortcut::QuitShortcut(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool QuitShortcut::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Q && key->modifiers() == Qt::ControlModifier) {
            emit activated();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
