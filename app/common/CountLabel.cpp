#include "CountLabel.h"

#include "TabularDigits.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>

CountLabel::CountLabel(int count, const QFont &font, QWidget *parent)
    : QWidget(parent), m_text(QString::number(count))
{
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize CountLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return {qCeil(TabularDigits::width(metrics, m_text)), qCeil(metrics.height())};
}

void CountLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(Theme::secondaryText(QGuiApplication::palette()));
    TabularDigits::draw(painter, rect(), Qt::AlignRight, m_text);
}
