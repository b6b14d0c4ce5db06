#pragma once

class QImage;
class QPainter;
class QRectF;

// Draws the image scaled to cover the rectangle, proportions kept, cropping
// the overflow evenly on both sides.
void paintFilling(QPainter &painter, const QRectF &rect, const QImage &image);
