#include "ProminentButton.h"

#include "KeyboardFocus.h"
#include "Theme.h"

#include <QPainter>

namespace {

constexpr qreal cornerRadius = 5;
constexpr qreal ringInset = 2.5;

} // namespace

ProminentButton::ProminentButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent), m_keyboard(new KeyboardFocus(this))
{
    connect(m_keyboard, &KeyboardFocus::changed, this, qOverload<>(&QWidget::update));
}

void ProminentButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The face the style gives its other buttons, so neighbours line up.
    const QRectF face = QRectF(rect()).adjusted(0.5, 1.5, -1.5, -0.5);
    QColor fill = Theme::accent().resolved(palette());
    QColor letters = Qt::white;
    if (isDown())
        fill = fill.darker(112);
    if (!isEnabled()) {
        fill.setAlphaF(0.4);
        letters.setAlphaF(0.75);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(face, cornerRadius, cornerRadius);
    if (m_keyboard->ringShown()) {
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(Qt::NoBrush);
        const QRectF ring = face.adjusted(ringInset, ringInset, -ringInset, -ringInset);
        painter.drawRoundedRect(ring, cornerRadius - ringInset, cornerRadius - ringInset);
    }
    painter.setPen(letters);
    painter.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}
