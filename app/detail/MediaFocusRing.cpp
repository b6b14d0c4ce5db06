#include "MediaFocusRing.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr qreal lineWidth = 3;
constexpr qreal radius = 6;

} // namespace

MediaFocusRing::MediaFocusRing(QWidget *around) : QWidget(around)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(around->rect());
    around->installEventFilter(this);
    hide();
}

bool MediaFocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void MediaFocusRing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), lineWidth));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = lineWidth / 2 + 1;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
}
