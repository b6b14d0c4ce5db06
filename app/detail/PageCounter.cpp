#include "PageCounter.h"

#include "TabularDigits.h"
#include "Theme.h"
#include "Typography.h"

#include <QGuiApplication>
#include <QPainter>
#include <QtMath>

namespace {

constexpr qreal paddingX = 10;
constexpr qreal paddingY = 4;

int pillHeight(const QFontMetricsF &metrics)
{
    return qCeil(metrics.height() + 2 * paddingY);
}

QString pageText(int page, int count)
{
    return QStringLiteral("%1 / %2").arg(page).arg(count);
}

} // namespace

PageCounter::PageCounter(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Theme::followPalette(this, [this] { update(); });
}

void PageCounter::setPage(int index, int count)
{
    const bool resized = count != m_count;
    m_index = index;
    m_count = count;
    if (resized)
        updateGeometry();
    update();
}

QString PageCounter::text() const
{
    return pageText(m_index + 1, m_count);
}

// The last page's number has the most digits any page can have.
QSize PageCounter::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const qreal width = TabularDigits::width(metrics, pageText(m_count, m_count));
    return {qCeil(width + 2 * paddingX), pillHeight(metrics)};
}

QFont PageCounter::textFont(const QFont &body)
{
    return Typography::caption(body, QFont::Medium);
}

int PageCounter::reach(const QFont &body)
{
    return 2 * margin + pillHeight(QFontMetricsF(textFont(body)));
}

QColor PageCounter::fill()
{
    return Theme::isDark(QGuiApplication::palette()) ? QColor(62, 62, 59, 210) : QColor(255, 255, 255, 200);
}

QColor PageCounter::ink()
{
    return Theme::text().resolved();
}

void PageCounter::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill());
    // A capsule: its ends are half circles.
    const qreal radius = height() / 2.0;
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
    painter.setPen(ink());
    TabularDigits::draw(painter, rect(), Qt::AlignHCenter, text());
}
