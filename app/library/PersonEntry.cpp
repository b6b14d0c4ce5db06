#include "PersonEntry.h"

#include "KeyboardFocus.h"
#include "Symbol.h"
#include "Theme.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

PersonEntry::PersonEntry(const AuthorAccount &account, Background background, qreal radius,
                         const Action &action, QWidget *parent)
    : QWidget(parent), m_account(account), m_background(background), m_radius(radius),
      m_menu(new QMenu(this)), m_keyboard(new KeyboardFocus(this))
{
    connect(m_keyboard, &KeyboardFocus::changed, this, qOverload<>(&QWidget::update));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    QAction *entry = m_menu->addAction(action.text, this, action.run);
    // Drawn as the menu opens, in the colours of the appearance of that moment.
    connect(m_menu, &QMenu::aboutToShow, this, [this, entry, symbol = action.symbol] {
        entry->setIcon(Symbol::pixmap(symbol, 16, palette().color(QPalette::WindowText), 1, 2));
    });
}

void PersonEntry::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool filled =
        m_background == Background::card || (m_background == Background::hoverCard && m_hovering);
    if (filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Theme::card().resolved(palette()));
        painter.drawRoundedRect(bounds, m_radius, m_radius);
    }
    if (focusRingShown()) {
        painter.setPen(QPen(Theme::accent().resolved(palette()), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(bounds, m_radius, m_radius);
    }
}

bool PersonEntry::focusRingShown() const
{
    return m_keyboard->ringShown();
}

void PersonEntry::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated(m_account);
}

void PersonEntry::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit activated(m_account); return;
    case Qt::Key_Right:
    case Qt::Key_Down: focusNextChild(); return;
    case Qt::Key_Left:
    case Qt::Key_Up: focusPreviousChild(); return;
    case Qt::Key_Menu: m_menu->exec(mapToGlobal(rect().center())); return;
    default: QWidget::keyPressEvent(event);
    }
}

void PersonEntry::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->exec(event->globalPos());
}

void PersonEntry::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    m_hovering = true;
    update();
}

void PersonEntry::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_hovering = false;
    update();
}
