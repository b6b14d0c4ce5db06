#include "DropHighlight.h"

#include "Symbol.h"
#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

DropHighlight::DropHighlight(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DropHighlight::paintEvent(QPaintEvent *)
{
    const QColor accent = Theme::accent().resolved();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // The stroke lies inside the edge: the path is inset by half its width.
    constexpr qreal lineWidth = 3;
    const QRectF frame = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QPainterPath shape;
    shape.addRoundedRect(frame, 12, 12);
    QColor fill = accent;
    fill.setAlphaF(0.06);
    painter.fillPath(shape, fill);
    QPainterPath border;
    const qreal half = lineWidth / 2;
    border.addRoundedRect(frame.adjusted(half, half, -half, -half), 12 - half, 12 - half);
    QPen pen(accent, lineWidth);
    pen.setDashPattern({10 / lineWidth, 6 / lineWidth});
    painter.strokePath(border, pen);

    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 15 / 13);
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    const QString label = tr("松手收藏这个链接");
    const int iconSide = QFontMetrics(font).height();
    const int textWidth = QFontMetrics(font).horizontalAdvance(label);
    const int gap = 6;
    const QPointF origin = frame.center() - QPointF((iconSide + gap + textWidth) / 2.0, iconSide / 2.0);
    Symbol::paint(painter, QStringLiteral("link.badge.plus"), QRectF(origin, QSizeF(iconSide, iconSide)),
                  accent, 1.3);
    painter.setPen(accent);
    painter.drawText(QRectF(origin + QPointF(iconSide + gap, 0), QSizeF(textWidth + 2, iconSide)),
                     Qt::AlignVCenter | Qt::AlignLeft, label);
}
