#include "PlatformBadge.h"

#include "HexColor.h"
#include "Symbol.h"

#include <QPainter>

PlatformBadge::PlatformBadge(Platform platform, int size, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_size(size)
{
    setFixedSize(size, size);
}

void PlatformBadge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    constexpr qreal semibold = 1.3;
    Symbol::paint(painter, m_platform.symbol(), QRectF(rect()), hexColor(m_platform.tintHex()), semibold);
}
