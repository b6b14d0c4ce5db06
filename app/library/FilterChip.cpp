#include "FilterChip.h"

#include "FocusRing.h"
#include "MenuText.h"
#include "Motion.h"
#include "PlatformBadge.h"
#include "TabularDigits.h"

#include <QFontMetrics>
#include <QtMath>
#include <QPainter>

namespace {

constexpr int gap = 6;
constexpr int titleLimit = 40;

QColor mixed(const QColor &from, const QColor &to, qreal amount)
{
    const auto mix = [amount](float a, float b) { return a + (b - a) * float(amount); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()), mix(from.alphaF(), to.alphaF()));
}

} // namespace

FilterChip::FilterChip(const QString &title, std::optional<Platform> platform, std::optional<int> count,
                       const Style &style, QWidget *parent)
    : QAbstractButton(parent), m_platform(platform), m_count(count), m_style(style),
      m_fill(new Motion(Motion::Curve::easeInOut(0.2), 0.0, this))
{
    connect(m_fill, &Motion::valueChanged, this, qOverload<>(&QWidget::update));
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        // A chip coming into view shows its state at once.
        if (isVisible())
            m_fill->animateTo(on ? 1.0 : 0.0);
        else
            m_fill->jumpTo(on ? 1.0 : 0.0);
    });
    // A chip is one line, however long the name it carries, and shows the
    // name as written: no "&" in it makes a shortcut.
    const QString line = title.simplified();
    setText(menuText(line.size() > titleLimit ? line.left(titleLimit - 1) + QChar(0x2026) : line));
    setCheckable(true);
    // Reached by Tab; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int FilterChip::titleWidth() const
{
    return fontMetrics().size(Qt::TextShowMnemonic, text()).width();
}

QString FilterChip::countText() const
{
    return m_count ? QString::number(*m_count) : QString();
}

qreal FilterChip::onAmount() const
{
    // A state set while hidden has no motion to follow.
    return m_fill->state() == QAbstractAnimation::Running ? m_fill->value().toReal() : (isChecked() ? 1 : 0);
}

QSize FilterChip::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = titleWidth();
    if (m_platform)
        width += m_style.badgeSize + gap;
    if (m_count)
        width += gap + qCeil(TabularDigits::width(QFontMetricsF(font()), countText()));
    const int height = std::max(metrics.height(), m_style.badgeSize);
    return {width + m_style.padding.left() + m_style.padding.right(),
            height + m_style.padding.top() + m_style.padding.bottom()};
}

void FilterChip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal on = onAmount();
    const QRectF bounds(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(mixed(m_style.offBackground.resolved(), m_style.onBackground.resolved(), on));
    painter.drawRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    if (hasFocus())
        FocusRing::paintCapsule(painter, bounds, palette());

    const QRectF content = bounds.marginsRemoved(m_style.padding.toMarginsF());
    qreal x = content.left();
    if (m_platform) {
        const qreal badge = m_style.badgeSize;
        PlatformBadge::paint(painter, *m_platform, QRectF(x, content.center().y() - badge / 2, badge, badge));
        x += badge + gap;
    }
    const QColor foreground = mixed(m_style.offForeground.resolved(), m_style.onForeground.resolved(), on);
    painter.setPen(foreground);
    const int titleWidth = this->titleWidth();
    painter.drawText(QRectF(x, content.top(), titleWidth + 1, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
    if (m_count) {
        QColor faded = foreground;
        faded.setAlphaF(0.55 + 0.15 * on);
        painter.setPen(faded);
        TabularDigits::draw(
            painter, QRectF(x + titleWidth + gap, content.top(), content.right() - x, content.height()),
            Qt::AlignLeft, countText());
    }
}
