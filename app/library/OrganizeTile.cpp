#include "OrganizeTile.h"

#include "KeyboardFocus.h"
#include "Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

OrganizeTile::OrganizeTile(QWidget *parent) : QWidget(parent), m_keyboard(new KeyboardFocus(this))
{
    connect(m_keyboard, &KeyboardFocus::changed, this, qOverload<>(&QWidget::update));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void OrganizeTile::setTargeted(bool targeted)
{
    if (targeted == m_targeted)
        return;
    m_targeted = targeted;
    update();
}

bool OrganizeTile::focusRingShown() const
{
    return m_keyboard->ringShown();
}

QRectF OrganizeTile::contentRect() const
{
    return QRectF(rect()).adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth);
}

void OrganizeTile::paintState(QPainter &painter, const QRectF &shape, qreal radius) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(shape, radius, radius);
    if (m_targeted) {
        QColor glow = Theme::accent().resolved(palette());
        glow.setAlphaF(0.25);
        painter.fillPath(outline, glow);
    }
    if (focusRingShown()) {
        painter.setPen(QPen(Theme::accent().resolved(palette()), ringWidth));
        painter.drawPath(outline);
    }
    painter.restore();
}

void OrganizeTile::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit activated();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Menu && contextMenuPolicy() == Qt::CustomContextMenu) {
        emit customContextMenuRequested(contentRect().center().toPoint());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void OrganizeTile::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated();
}
