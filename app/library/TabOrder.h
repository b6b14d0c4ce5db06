#pragma once

#include <QList>

class QWidget;

// A widget made after its page joins the end of its window's Tab order;
// this puts such widgets back where they show.
namespace TabOrder {

// Puts the widgets, in order, right after the last Tab stop that comes
// before the container and lies outside it.
void placeIn(QWidget &container, const QList<QWidget *> &widgets);

} // namespace TabOrder
