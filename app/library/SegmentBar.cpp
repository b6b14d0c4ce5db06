#include "SegmentBar.h"

#include "FocusRing.h"
#include "Motion.h"
#include "Theme.h"
#include "Typography.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int inset = 3;
constexpr int spacing = 2;
constexpr int horizontalPadding = 22;
constexpr int verticalPadding = 6;

void fillCapsule(QPainter &painter, const QRectF &rect, const QColor &color)
{
    QPainterPath capsule;
    capsule.addRoundedRect(rect, rect.height() / 2, rect.height() / 2);
    painter.fillPath(capsule, color);
}

} // namespace

SegmentBar::SegmentBar(const QStringList &titles, QWidget *parent)
    : QWidget(parent), m_titles(titles),
      m_highlight(new Motion(Motion::Curve::spring(0.3, 0.85), QRectF(), this))
{
    connect(m_highlight, &Motion::valueChanged, this, qOverload<>(&QWidget::update));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

void SegmentBar::setCurrent(int index)
{
    if (index == m_current)
        return;
    const QRectF from = highlightRect();
    m_current = index;
    if (isVisible()) {
        m_highlight->jumpTo(from);
        m_highlight->animateTo(QRectF(segmentRect(index)));
    }
    update();
}

QFont SegmentBar::titleFont(bool chosen) const
{
    return Typography::callout(font(), chosen ? QFont::DemiBold : QFont::Normal);
}

// Wide enough for the semibold title, so choosing does not move the others.
int SegmentBar::segmentWidth(int index) const
{
    return QFontMetrics(titleFont(true)).horizontalAdvance(m_titles[index]) + 2 * horizontalPadding;
}

QRect SegmentBar::segmentRect(int index) const
{
    int left = inset;
    for (int before = 0; before < index; ++before)
        left += segmentWidth(before) + spacing;
    return {left, inset, segmentWidth(index), height() - 2 * inset};
}

QRectF SegmentBar::highlightRect() const
{
    // At rest the capsule follows the bar's own geometry.
    return m_highlight->state() == QAbstractAnimation::Running ? m_highlight->value().toRectF()
                                                               : QRectF(segmentRect(m_current));
}

QSize SegmentBar::sizeHint() const
{
    int width = 2 * inset + spacing * int(m_titles.size() - 1);
    for (int index = 0; index < m_titles.size(); ++index)
        width += segmentWidth(index);
    return {width, QFontMetrics(titleFont(true)).height() + 2 * verticalPadding + 2 * inset};
}

void SegmentBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    fillCapsule(painter, rect(), Theme::card().resolved(palette()));
    if (hasFocus())
        FocusRing::paintCapsule(painter, rect(), palette());
    const QRectF chosen = highlightRect();
    fillCapsule(painter, chosen.translated(0, 1), QColor(0, 0, 0, 30));
    fillCapsule(painter, chosen, Theme::background().resolved(palette()));
    QColor secondary = palette().color(QPalette::WindowText);
    secondary.setAlphaF(0.55);
    for (int index = 0; index < m_titles.size(); ++index) {
        const bool isChosen = index == m_current;
        painter.setFont(titleFont(isChosen));
        painter.setPen(isChosen ? palette().color(QPalette::WindowText) : secondary);
        painter.drawText(segmentRect(index), Qt::AlignCenter, m_titles[index]);
    }
}

void SegmentBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    for (int index = 0; index < m_titles.size(); ++index) {
        if (segmentRect(index).contains(event->position().toPoint()))
            choose(index);
    }
}

void SegmentBar::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    choose(std::clamp(m_current + step, 0, int(m_titles.size()) - 1));
}

void SegmentBar::choose(int index)
{
    if (index == m_current)
        return;
    setCurrent(index);
    emit chosen(index);
}
