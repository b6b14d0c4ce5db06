#include "FocusRing.h"

#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal ringWidth = 2;
constexpr qreal lineWidth = 1;

void strokeCapsule(QPainter &painter, const QRectF &rect, const QColor &color, qreal width)
{
    const QRectF centre = rect.adjusted(width / 2, width / 2, -width / 2, -width / 2);
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(centre, centre.height() / 2, centre.height() / 2);
}

} // namespace

void FocusRing::paintCapsule(QPainter &painter, const QRectF &capsule, const QPalette &palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    strokeCapsule(painter, capsule, Theme::accent().resolved(palette), ringWidth);
    strokeCapsule(painter, capsule.adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth),
                  Theme::background().resolved(palette), lineWidth);
    painter.restore();
}
