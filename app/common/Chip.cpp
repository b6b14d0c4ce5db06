#include "Chip.h"

#include "Symbol.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

Chip::Chip(const QString &text, const QColor &color, const QString &systemImage, bool removable,
           QWidget *parent)
    : QWidget(parent), m_text(text), m_color(color)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(9, 4, 9, 4);
    row->setSpacing(4);
    const QFont caption = Typography::caption(font());
    const int lineHeight = QFontMetrics(caption).height();
    if (!systemImage.isEmpty()) {
        auto *icon = new QLabel(this);
        icon->setPixmap(Symbol::pixmap(systemImage, lineHeight * 3 / 4, color, 1, devicePixelRatioF()));
        row->addWidget(icon);
    }
    auto *label = new QLabel(text, this);
    // Tags and names are the user's or a page's: "<b>" in one is shown, not obeyed.
    label->setTextFormat(Qt::PlainText);
    label->setFont(caption);
    row->addWidget(label);
    if (removable) {
        m_removeButton = new QToolButton(this);
        m_removeButton->setAutoRaise(true);
        m_removeButton->setIconSize(QSize(8, 8));
        m_removeButton->setIcon(Symbol::pixmap(QStringLiteral("xmark"), 8, color, 1.6, devicePixelRatioF()));
        // Reached with Tab, a ring in the highlight colour shows around the cross.
        m_removeButton->setStyleSheet(
            QStringLiteral("QToolButton { border: 1px solid transparent; border-radius: 5px; padding: 0; }"
                           "QToolButton:focus { border-color: palette(highlight); }"));
        connect(m_removeButton, &QToolButton::clicked, this, &Chip::removeClicked);
        row->addWidget(m_removeButton);
    }
}

void Chip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = m_color;
    fill.setAlphaF(0.15);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const qreal radius = height() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}
