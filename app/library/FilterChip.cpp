#include "FilterChip.h"

#include "HexColor.h"
#include "Symbol.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

constexpr int gap = 6;
constexpr int titleLimit = 40;

} // namespace

FilterChip::FilterChip(const QString &title, std::optional<Platform> platform, std::optional<int> count,
                       const Style &style, QWidget *parent)
    : QAbstractButton(parent), m_platform(platform), m_count(count), m_style(style)
{
    // A chip is one line, however long the name it carries.
    const QString line = title.simplified();
    setText(line.size() > titleLimit ? line.left(titleLimit - 1) + QChar(0x2026) : line);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString FilterChip::countText() const
{
    return m_count ? QString::number(*m_count) : QString();
}

QSize FilterChip::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text());
    if (m_platform)
        width += m_style.badgeSize + gap;
    if (m_count)
        width += gap + metrics.horizontalAdvance(countText());
    const int height = std::max(metrics.height(), m_style.badgeSize);
    return {width + m_style.padding.left() + m_style.padding.right(),
            height + m_style.padding.top() + m_style.padding.bottom()};
}

void FilterChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool on = isChecked();
    const QRectF bounds(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(on ? m_style.onBackground : m_style.offBackground);
    painter.drawRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);

    const QRectF content = bounds.marginsRemoved(m_style.padding.toMarginsF());
    qreal x = content.left();
    if (m_platform) {
        const qreal badge = m_style.badgeSize;
        Symbol::paint(painter, m_platform->symbol(),
                      QRectF(x, content.center().y() - badge / 2, badge, badge),
                      hexColor(m_platform->tintHex()), 1.3);
        x += badge + gap;
    }
    const QColor foreground = on ? m_style.onForeground : m_style.offForeground;
    painter.setPen(foreground);
    const int titleWidth = fontMetrics().horizontalAdvance(text());
    painter.drawText(QRectF(x, content.top(), titleWidth + 1, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
    if (m_count) {
        QColor faded = foreground;
        faded.setAlphaF(on ? 0.7 : 0.55);
        painter.setPen(faded);
        painter.drawText(QRectF(x + titleWidth + gap, content.top(), content.right() - x, content.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, countText());
    }
}
