#pragma once

#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <optional>

class QPainter;

// The hover tilt of cards and avatars: the picture leans towards the pointer,
// grows a little, casts a shadow and catches a soft glare where the pointer is.
// The host keeps the pointer (in the picture's own coordinates) and repaints.
class FocusTilt {
public:
    FocusTilt(qreal cornerRadius, qreal lift) : m_cornerRadius(cornerRadius), m_lift(lift) {}

    // The largest lean in degrees: 5 up to 280 high, less for taller pictures,
    // never under 2.5.
    static qreal maxAngle(qreal height);
    // Degrees about the x and the y axis for a pointer in a picture of that size.
    static QPointF angles(const QSizeF &size, const std::optional<QPointF> &point);
    // Pointer moves under half a point on both axes are not worth a repaint.
    static bool isNewPoint(const std::optional<QPointF> &current, const QPointF &point);

    // Maps the picture's own coordinates (origin top-left) to the target
    // rectangle; `amount` (0..1) is how far the tilt has sprung in.
    QTransform transform(const QRectF &target, const std::optional<QPointF> &point, qreal amount = 1) const;
    // Draws the picture into the target rectangle, clipped to its rounded corners.
    void paint(QPainter &painter, const QRectF &target, const QPixmap &picture,
               const std::optional<QPointF> &point, qreal amount = 1) const;

private:
    qreal m_cornerRadius;
    qreal m_lift;
};
