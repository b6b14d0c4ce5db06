#include "ToolbarFade.h"

#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>

ToolbarFade::ToolbarFade(int barHeight, QWidget *parent) : QWidget(parent), m_barHeight(barHeight)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedHeight(barHeight + fadeHeight);
}

void ToolbarFade::paintEvent(QPaintEvent *)
{
    const qreal t = m_barHeight;
    const qreal h = t + fadeHeight;
    QColor colour = Theme::background().resolved(palette());
    QLinearGradient gradient(0, 0, 0, h);
    gradient.setColorAt(0, colour);
    gradient.setColorAt(0.75 * t / h, colour);
    colour.setAlphaF(0.6);
    gradient.setColorAt(t / h, colour);
    colour.setAlphaF(0);
    gradient.setColorAt(1, colour);
    QPainter(this).fillRect(rect(), gradient);
}
