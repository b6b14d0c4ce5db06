#include "BoardThumb.h"

#include "CoverThumbnails.h"
#include "Media.h"
#include "PaintFilling.h"
#include "Symbol.h"
#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

void BoardThumb::paint(QPainter &painter, const QRectF &rect, const std::shared_ptr<Media> &cover,
                       const QImage &image, const QColor &symbolColor, const QPalette &palette)
{
    const qreal radius = rect.width() * 0.22;
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    painter.save();
    painter.setClipPath(shape, Qt::IntersectClip);
    painter.fillRect(rect, Theme::placeholder().resolved(palette));
    if (cover && !cover->needsImageDownload()) {
        if (!image.isNull())
            paintFilling(painter, rect, image);
    } else {
        const qreal inset = rect.width() * 0.25;
        Symbol::paint(painter, QStringLiteral("rectangle.stack"), rect.adjusted(inset, inset, -inset, -inset),
                      symbolColor);
    }
    painter.restore();
}
