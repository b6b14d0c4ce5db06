#include "PlatformBadge.h"

#include "HexColor.h"
#include "Symbol.h"

#include <QPainter>

namespace {

constexpr qreal symbolShare = 0.6;
constexpr qreal bold = 1.6;

} // namespace

PlatformBadge::PlatformBadge(Platform platform, int size, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_size(size)
{
    setFixedSize(size, size);
}

void PlatformBadge::paint(QPainter &painter, Platform platform, const QRectF &rect)
{
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF circle(rect.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hexColor(platform.tintHex()));
    painter.drawEllipse(circle);
    const qreal symbol = side * symbolShare;
    Symbol::paint(painter, platform.symbol(),
                  QRectF(circle.center() - QPointF(symbol / 2, symbol / 2), QSizeF(symbol, symbol)),
                  Qt::white, bold);
    painter.restore();
}

void PlatformBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, m_platform, QRectF(rect()));
}
