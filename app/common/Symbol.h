#pragma once

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

// The application's own small icons, named like the symbols the rest of the
// code refers to ("trash", "xmark", each platform's symbol). Drawn as
// vector shapes, so they are sharp at any size.
class Symbol {
public:
    // Whether a shape exists under that name.
    static bool exists(const QString &name);
    // Fills the square centred in the rectangle; `weight` thickens strokes
    // (1 regular, 1.3 semibold, 1.6 bold). Unknown names draw nothing.
    static void paint(QPainter &painter, const QString &name, const QRectF &rect, const QColor &color,
                      qreal weight = 1);
    // The symbol on a transparent square of `size` device-independent pixels.
    static QPixmap pixmap(const QString &name, int size, const QColor &color, qreal weight = 1,
                          qreal devicePixelRatio = 1);
    // The symbol on a rounded square of the background colour, as an
    // application or tray icon: readable on light and dark panels alike.
    static QPixmap tile(const QString &name, int size, const QColor &background, const QColor &color);
};
