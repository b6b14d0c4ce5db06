#include "TabularDigits.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

qreal digitCell(const QFontMetricsF &metrics)
{
    qreal widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

qreal advance(const QFontMetricsF &metrics, QChar character, qreal cell)
{
    return character.isDigit() ? cell : metrics.horizontalAdvance(character);
}

} // namespace

qreal TabularDigits::width(const QFontMetricsF &metrics, const QString &text)
{
    const qreal cell = digitCell(metrics);
    qreal total = 0;
    for (QChar character : text)
        total += advance(metrics, character, cell);
    return total;
}

void TabularDigits::draw(QPainter &painter, const QRectF &rect, Qt::Alignment alignment, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    const qreal cell = digitCell(metrics);
    const qreal total = width(metrics, text);
    qreal x = rect.left();
    if (alignment & Qt::AlignRight)
        x = rect.right() - total;
    else if (alignment & Qt::AlignHCenter)
        x = rect.center().x() - total / 2;
    for (QChar character : text) {
        const qreal step = advance(metrics, character, cell);
        painter.drawText(QRectF(x, rect.top(), step, rect.height()), Qt::AlignCenter | Qt::TextDontClip,
                         QString(character));
        x += step;
    }
}
