#include "TabOrder.h"

#include <QWidget>

namespace {

bool isStop(const QWidget &widget)
{
    return widget.focusPolicy() & Qt::TabFocus;
}

// The last Tab stop before the widget that is not passed over; the window
// when there is none.
template <class PassOver> QWidget *stopBefore(QWidget &widget, PassOver passOver)
{
    QWidget *before = widget.previousInFocusChain();
    while (before != widget.window() && (!isStop(*before) || passOver(before)))
        before = before->previousInFocusChain();
    return before;
}

void chainAfter(QWidget *before, const QList<QWidget *> &widgets)
{
    for (QWidget *widget : widgets) {
        QWidget::setTabOrder(before, widget);
        before = widget;
    }
}

} // namespace

void TabOrder::placeIn(QWidget &container, const QList<QWidget *> &widgets)
{
    chainAfter(stopBefore(container, [&](QWidget *stop) { return container.isAncestorOf(stop); }), widgets);
}

void TabOrder::placeBefore(QWidget &stop, const QList<QWidget *> &widgets)
{
    chainAfter(stopBefore(stop, [&](QWidget *other) { return widgets.contains(other); }), widgets);
}

QList<QWidget *> TabOrder::stopsIn(QWidget &container)
{
    QList<QWidget *> stops;
    for (QWidget *widget = container.nextInFocusChain(); widget != &container;
         widget = widget->nextInFocusChain()) {
        if (isStop(*widget) && container.isAncestorOf(widget))
            stops.append(widget);
    }
    return stops;
}
