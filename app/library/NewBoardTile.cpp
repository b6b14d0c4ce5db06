#include "NewBoardTile.h"

#include "Symbol.h"
#include "Typography.h"

#include <QPainter>

namespace {

constexpr int tileHeight = 150;
constexpr qreal cornerRadius = 14;

} // namespace

NewBoardTile::NewBoardTile(QWidget *parent) : OrganizeTile(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("新建合集"));
}

QSize NewBoardTile::sizeHint() const
{
    return {220, tileHeight + 2 * int(ringWidth)};
}

// As tall as a board's collage and level with it, however tall the row.
QRectF NewBoardTile::tileRect() const
{
    QRectF tile = contentRect();
    tile.setHeight(tileHeight);
    return tile;
}

void NewBoardTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = tileRect();
    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.55);
    QColor dash = secondary;
    dash.setAlphaF(0.55 * 0.35);
    QPen pen(dash, 1.5);
    pen.setDashPattern({6 / 1.5, 4 / 1.5});
    painter.setPen(pen);
    painter.drawRoundedRect(tile.adjusted(0.75, 0.75, -0.75, -0.75), cornerRadius, cornerRadius);
    paintState(painter, tile, cornerRadius);

    const QFont callout = Typography::callout(font());
    const qreal symbolSide = QFontMetricsF(font()).height() * 1.3;
    const qreal textHeight = QFontMetricsF(callout).height();
    const qreal top = tile.center().y() - (symbolSide + 6 + textHeight) / 2;
    Symbol::paint(painter, QStringLiteral("plus"),
                  QRectF(tile.center().x() - symbolSide / 2, top, symbolSide, symbolSide), secondary);
    painter.setFont(callout);
    painter.setPen(secondary);
    painter.drawText(QRectF(tile.left(), top + symbolSide + 6, tile.width(), textHeight), Qt::AlignCenter,
                     tr("新建合集"));
}
