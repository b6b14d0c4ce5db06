#include "TagTile.h"

#include "HexColor.h"
#include "Symbol.h"
#include "TabularDigits.h"
#include "Theme.h"
#include "Typography.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal badgeSide = 28;
constexpr qreal badgeRadius = 7;
constexpr qreal tileRadius = 10;
constexpr qreal horizontalPadding = 10;
constexpr qreal verticalPadding = 8;
constexpr qreal spacing = 10;

} // namespace

TagTile::TagTile(QWidget *parent) : OrganizeTile(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TagTile::setValues(const QString &name, const QString &colorHex, int count)
{
    m_name = name;
    m_colorHex = colorHex;
    m_count = count;
    update();
}

QSize TagTile::sizeHint() const
{
    const qreal line = std::max(badgeSide, QFontMetricsF(font()).height());
    return {240, int(line + 2 * verticalPadding + 2 * ringWidth)};
}

void TagTile::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = contentRect();
    QPainterPath background;
    background.addRoundedRect(tile, tileRadius, tileRadius);
    painter.fillPath(background, Theme::card().resolved(palette()));
    paintState(painter, tile, tileRadius);

    QRectF content = tile.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    const QColor color = hexColor(m_colorHex);
    const QRectF badge(content.left(), content.center().y() - badgeSide / 2, badgeSide, badgeSide);
    QColor wash = color;
    wash.setAlphaF(0.15);
    QPainterPath badgeShape;
    badgeShape.addRoundedRect(badge, badgeRadius, badgeRadius);
    painter.fillPath(badgeShape, wash);
    Symbol::paint(painter, QStringLiteral("number"), badge.adjusted(7, 7, -7, -7), color, 1.6);
    content.setLeft(badge.right() + spacing);

    const QString count = QString::number(m_count);
    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.55);
    painter.setPen(secondary);
    TabularDigits::draw(painter, content, Qt::AlignRight, count);
    content.setRight(content.right() - TabularDigits::width(QFontMetricsF(font()), count) - spacing);

    painter.setPen(Theme::text().resolved(palette()));
    painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter,
                     QFontMetricsF(font()).elidedText(m_name, Qt::ElideRight, content.width()));
}
