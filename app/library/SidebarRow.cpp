#include "SidebarRow.h"

#include "BoardThumb.h"
#include "CoverThumbnails.h"
#include "Motion.h"
#include "Symbol.h"
#include "TabularDigits.h"
#include "Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

constexpr int horizontalPadding = 8;
constexpr int verticalPadding = 6;
constexpr int iconWidth = 20;
constexpr int spacing = 9;
constexpr qreal cornerRadius = 8;

} // namespace

SidebarRow::SidebarRow(const QString &title, const QString &symbol, bool boardTile, QWidget *parent)
    : QWidget(parent), m_title(title), m_symbol(symbol),
      m_hoverFill(new Motion(Motion::Curve::easeOut(0.12), 0.0, this)),
      m_selectFill(new Motion(Motion::Curve::easeOut(0.15), 0.0, this))
{
    for (Motion *fill : {m_hoverFill, m_selectFill})
        connect(fill, &Motion::valueChanged, this, qOverload<>(&QWidget::update));
    if (boardTile) {
        m_thumbnail = new CoverThumbnails(this);
        connect(m_thumbnail, &CoverThumbnails::loaded, this, qOverload<>(&QWidget::update));
    }
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SidebarRow::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    update();
}

void SidebarRow::setSymbol(const QString &symbol)
{
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    update();
}

std::shared_ptr<Media> SidebarRow::cover() const
{
    return m_thumbnail ? m_thumbnail->covers().value(0) : nullptr;
}

void SidebarRow::setCover(const std::shared_ptr<Media> &cover)
{
    if (!m_thumbnail || cover == this->cover())
        return;
    m_thumbnail->setCovers(cover ? QList{cover} : QList<std::shared_ptr<Media>>());
    update();
}

void SidebarRow::setCount(int count)
{
    if (count == m_count)
        return;
    m_count = count;
    update();
}

void SidebarRow::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (isVisible())
        m_selectFill->animateTo(selected ? 1.0 : 0.0);
    else
        m_selectFill->jumpTo(selected ? 1.0 : 0.0);
    update();
}

void SidebarRow::setCurrent(bool current)
{
    if (current == m_current)
        return;
    m_current = current;
    update();
}

void SidebarRow::setTargeted(bool targeted)
{
    if (targeted == m_targeted)
        return;
    m_targeted = targeted;
    update();
}

QSize SidebarRow::sizeHint() const
{
    const int line = std::max(fontMetrics().height(), iconWidth);
    return {180, line + 2 * verticalPadding};
}

void SidebarRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBackground(painter);
    QRect content = rect().adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    paintIcon(painter,
              QRectF(content.left(), content.center().y() - iconWidth / 2.0 + 0.5, iconWidth, iconWidth));
    content.setLeft(content.left() + iconWidth + spacing);
    paintCount(painter, content);

    QFont font = painter.font();
    font.setWeight(m_selected ? QFont::DemiBold : QFont::Normal);
    painter.setFont(font);
    painter.setPen(Theme::text().resolved(palette()));
    const QString shown = QFontMetrics(font).elidedText(m_title, Qt::ElideRight, content.width());
    painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void SidebarRow::paintBackground(QPainter &painter) const
{
    const qreal selected = m_selectFill->value().toReal();
    QColor hover = Theme::placeholder().resolved();
    hover.setAlphaF(0.6 * m_hoverFill->value().toReal() * (1 - selected));
    QColor chosen = Theme::accent().resolved();
    chosen.setAlphaF(0.15 * selected);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius, cornerRadius);
    painter.fillPath(shape, hover);
    painter.fillPath(shape, chosen);
    if (m_targeted) {
        QColor glow = Theme::accent().resolved(palette());
        glow.setAlphaF(0.25);
        painter.fillPath(shape, glow);
    }
    if (m_current) {
        painter.setPen(QPen(Theme::accent().resolved(palette()), 1.5));
        painter.drawPath(shape);
    }
}

void SidebarRow::paintIcon(QPainter &painter, const QRectF &rect) const
{
    const QColor secondary = palette().color(QPalette::WindowText);
    QColor tint = m_selected ? Theme::accent().resolved(palette()) : secondary;
    if (!m_selected)
        tint.setAlphaF(0.6);
    if (m_thumbnail)
        BoardThumb::paint(painter, rect, cover(), m_thumbnail->image(0), tint, palette());
    else
        Symbol::paint(painter, m_symbol, rect.adjusted(2, 2, -2, -2), tint, 1.15);
}

// Draws the count at the right end and narrows the title's room by it.
void SidebarRow::paintCount(QPainter &painter, QRect &textRect) const
{
    constexpr int minimumGap = 4;
    if (m_count <= 0)
        return;
    QFont caption = font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    const QString text = QString::number(m_count);
    const int width = qCeil(TabularDigits::width(QFontMetricsF(caption), text));
    QColor color = m_selected ? Theme::accent().resolved(palette()) : palette().color(QPalette::WindowText);
    if (!m_selected)
        color.setAlphaF(0.45);
    painter.save();
    painter.setFont(caption);
    painter.setPen(color);
    TabularDigits::draw(painter, textRect, Qt::AlignRight, text);
    painter.restore();
    textRect.setRight(textRect.right() - width - minimumGap);
}

void SidebarRow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void SidebarRow::enterEvent(QEnterEvent *)
{
    m_hoverFill->animateTo(1.0);
}

void SidebarRow::leaveEvent(QEvent *)
{
    m_hoverFill->animateTo(0.0);
}
