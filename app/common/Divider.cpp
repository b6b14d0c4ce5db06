#include "Divider.h"

#include <QPainter>

namespace {

constexpr qreal opacity = 0.12;

} // namespace

Divider::Divider(Qt::Orientation orientation, QWidget *parent) : QWidget(parent)
{
    if (orientation == Qt::Horizontal)
        setFixedHeight(1);
    else
        setFixedWidth(1);
}

// Drawn from the palette each time, so a new appearance needs nothing more than the repaint it brings.
void Divider::paintEvent(QPaintEvent *)
{
    QColor color = palette().color(QPalette::WindowText);
    color.setAlphaF(opacity);
    QPainter(this).fillRect(rect(), color);
}
