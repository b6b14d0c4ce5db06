#pragma once

#include <QImage>
#include <QPalette>
#include <QRectF>
#include <memory>

class Media;
class QPainter;

// A board's small cover in a rounded square: the thumbnail of its newest
// cover, or the stack symbol when it has none or the cover still waits for
// its download.
class BoardThumb {
public:
    // `image` is the cover's thumbnail, null while it loads.
    static void paint(QPainter &painter, const QRectF &rect, const std::shared_ptr<Media> &cover,
                      const QImage &image, const QColor &symbolColor, const QPalette &palette);
};
