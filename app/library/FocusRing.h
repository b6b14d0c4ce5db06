#pragma once

#include <QRectF>

class QPainter;
class QPalette;

// The keyboard focus of capsule-shaped controls: an accent ring just inside
// the capsule's edge with a thin line of the page's colour within it, so it
// reads on any fill, the accent one too.
namespace FocusRing {

void paintCapsule(QPainter &painter, const QRectF &capsule, const QPalette &palette);

} // namespace FocusRing
