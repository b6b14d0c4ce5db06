#pragma once

#include <QRectF>
#include <QString>

class QFontMetricsF;
class QPainter;

// Numbers drawn with every digit in a cell as wide as the font's widest
// digit, so a count that changes never shifts what stands beside it, even
// in fonts whose digits differ in width.
namespace TabularDigits {

qreal width(const QFontMetricsF &metrics, const QString &text);
// Draws the text with the painter's font and pen, aligned in the rectangle
// as `alignment` says (left, right or centred; always centred vertically).
void draw(QPainter &painter, const QRectF &rect, Qt::Alignment alignment, const QString &text);

} // namespace TabularDigits
