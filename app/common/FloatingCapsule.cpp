#include "FloatingCapsule.h"

#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int shadowRadius = 10;
constexpr int shadowDrop = 4;
constexpr int paddingX = 16;
constexpr int paddingY = 10;

QPainterPath capsule(const QRectF &rect)
{
    QPainterPath path;
    const qreal radius = rect.height() / 2;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Black at 15 % opacity, blurred by stacking ever wider, fainter capsules.
void paintShadow(QPainter &painter, const QRectF &rect)
{
    painter.setPen(Qt::NoPen);
    for (int spread = shadowRadius; spread >= 0; --spread) {
        const qreal falloff = 1 - qreal(spread) / (shadowRadius + 1);
        painter.setBrush(QColor(0, 0, 0, int(255 * 0.15 * falloff * falloff / 3)));
        painter.drawPath(capsule(rect.translated(0, shadowDrop).adjusted(-spread, -spread, spread, spread)));
    }
}

} // namespace

FloatingCapsule::FloatingCapsule(QWidget *parent) : QWidget(parent), m_row(new QHBoxLayout(this))
{
    m_row->setContentsMargins(shadowMargins() + QMargins(paddingX, paddingY, paddingX, paddingY));
    setAttribute(Qt::WA_TranslucentBackground);
}

QMargins FloatingCapsule::shadowMargins()
{
    return {shadowRadius, shadowRadius, shadowRadius, shadowRadius + shadowDrop};
}

QSize FloatingCapsule::sizeHint() const
{
    QSize hint = QWidget::sizeHint();
    if (const QWidget *parent = parentWidget()) {
        const QMargins shadow = shadowMargins();
        const int widest = parent->width() - 2 * sideDistance + shadow.left() + shadow.right();
        if (hint.width() > widest)
            hint = QSize(widest, heightForWidth(widest));
    }
    return hint;
}

QRectF FloatingCapsule::capsuleRect() const
{
    return QRectF(rect().marginsRemoved(shadowMargins()));
}

void FloatingCapsule::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rect = capsuleRect();
    paintShadow(painter, rect);
    QColor material = Theme::card().resolved(palette());
    material.setAlpha(240);
    painter.setBrush(material);
    QColor edge = Theme::text().resolved(palette());
    edge.setAlpha(24);
    painter.setPen(QPen(edge, 0.5));
    painter.drawPath(capsule(rect));
}
