#include "PaintFilling.h"

#include <QImage>
#include <QPainter>

void paintFilling(QPainter &painter, const QRectF &rect, const QImage &image)
{
    QRectF target(QPointF(), QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatioByExpanding));
    target.moveCenter(rect.center());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawImage(target, image);
    painter.restore();
}
