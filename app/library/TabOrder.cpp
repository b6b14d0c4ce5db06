#include "TabOrder.h"

#include <QWidget>

void TabOrder::placeIn(QWidget &container, const QList<QWidget *> &widgets)
{
    QWidget *before = container.previousInFocusChain();
    while (before != container.window() &&
           (!(before->focusPolicy() & Qt::TabFocus) || container.isAncestorOf(before)))
        before = before->previousInFocusChain();
    for (QWidget *widget : widgets) {
        QWidget::setTabOrder(before, widget);
        before = widget;
    }
}
