#include "FocusTilt.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

qreal FocusTilt::maxAngle(qreal height)
{
    if (height <= 1)
        return 5;
    const qreal ratio = 280 / height;
    return ratio < 0.5 ? 2.5 : 5 * std::min(ratio, 1.0);
}

QPointF FocusTilt::angles(const QSizeF &size, const std::optional<QPointF> &point)
{
    if (!point)
        return {};
    const auto normalised = [](qreal value, qreal extent) {
        return std::clamp(2 * value / std::max(extent, 1.0) - 1, -1.0, 1.0);
    };
    const qreal limit = maxAngle(size.height());
    return {-normalised(point->y(), size.height()) * limit, normalised(point->x(), size.width()) * limit};
}

bool FocusTilt::isNewPoint(const std::optional<QPointF> &current, const QPointF &point)
{
    return !current || std::abs(current->x() - point.x()) >= 0.5 || std::abs(current->y() - point.y()) >= 0.5;
}

QTransform FocusTilt::transform(const QRectF &target, const std::optional<QPointF> &point, qreal amount) const
{
    const QPointF turn = angles(target.size(), point) * amount;
    const qreal scale = point ? 1 + (m_lift - 1) * amount : 1;
    QTransform transform;
    transform.translate(target.center().x(), target.center().y());
    transform.rotate(turn.x(), Qt::XAxis);
    transform.rotate(turn.y(), Qt::YAxis);
    transform.scale(scale, scale);
    transform.translate(-target.width() / 2, -target.height() / 2);
    return transform;
}

void FocusTilt::paint(QPainter &painter, const QRectF &target, const QPixmap &picture,
                      const std::optional<QPointF> &point, qreal amount) const
{
    // A spring may pass its end on the way; shadow and glare never exceed their full strength.
    const qreal strength = std::clamp(amount, 0.0, 1.0);
    const QRectF local(QPointF(), target.size());
    QPainterPath outline;
    outline.addRoundedRect(local, m_cornerRadius, m_cornerRadius);

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(transform(target, point, amount), true);
    if (point) {
        // A soft shadow below: a few widening translucent outlines.
        painter.setPen(Qt::NoPen);
        for (int ring = 4; ring >= 1; --ring) {
            painter.setBrush(QColor(0, 0, 0, qRound(14 * strength)));
            const qreal grow = ring * 3.5;
            painter.drawRoundedRect(local.adjusted(-grow / 2, 8 - grow / 2, grow / 2, 8 + grow),
                                    m_cornerRadius + grow, m_cornerRadius + grow);
        }
    }
    painter.setClipPath(outline);
    painter.drawPixmap(local, picture, QRectF(picture.rect()));
    if (point) {
        QRadialGradient glare(*point, 0.6 * std::min(local.width(), local.height()));
        glare.setColorAt(0, QColor(255, 255, 255, qRound(23 * strength)));
        glare.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillRect(local, glare);
    }
    painter.restore();
}
