#pragma once

#include <QList>

class QWidget;

// A widget made after its page joins the end of its window's Tab order;
// these put such widgets back where they show.
namespace TabOrder {

// Puts the widgets, in order, right after the last Tab stop that comes
// before the container and lies outside it.
void placeIn(QWidget &container, const QList<QWidget *> &widgets);
// Puts the widgets, in order, right before the Tab stop.
void placeBefore(QWidget &stop, const QList<QWidget *> &widgets);
// The Tab stops inside the container, in Tab order.
QList<QWidget *> stopsIn(QWidget &container);

} // namespace TabOrder
