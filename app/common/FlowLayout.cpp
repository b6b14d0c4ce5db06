#include "FlowLayout.h"

#include <QWidget>
#include <algorithm>
#include <limits>

FlowLayout::FlowLayout(int spacing, QWidget *parent) : QLayout(parent)
{
    setSpacing(spacing);
}

FlowLayout::~FlowLayout()
{
    qDeleteAll(m_items);
}

void FlowLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
    invalidate();
}

int FlowLayout::count() const
{
    return int(m_items.size());
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    QLayoutItem *item = m_items.takeAt(index);
    invalidate();
    return item;
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return {};
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return sizeForWidth(width).height();
}

QSize FlowLayout::sizeForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const int inner = width == std::numeric_limits<int>::max()
                          ? width
                          : std::max(0, width - margins.left() - margins.right());
    const QSize rows = flow(QRect(0, 0, inner, 0), false);
    return rows.grownBy(margins);
}

QSize FlowLayout::sizeHint() const
{
    // Without a width to keep to, everything fits in one row.
    return sizeForWidth(std::numeric_limits<int>::max());
}

QSize FlowLayout::minimumSize() const
{
    // Rows wrap to any width; the height follows from heightForWidth.
    const QMargins margins = contentsMargins();
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    flow(contentsRect(), true);
}

QSize FlowLayout::flow(const QRect &bounds, bool place) const
{
    const int gap = spacing();
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    int widest = 0;
    for (QLayoutItem *item : m_items) {
        if (item->isEmpty())
            continue;
        const QSize size = item->sizeHint();
        // Compared as a remainder: the width may be "unbounded" (the int maximum).
        if (x > 0 && size.width() > bounds.width() - x) {
            y += rowHeight + gap;
            x = 0;
            rowHeight = 0;
        }
        if (place)
            item->setGeometry(QRect(bounds.topLeft() + QPoint(x, y), size));
        x += size.width() + gap;
        rowHeight = std::max(rowHeight, size.height());
        widest = std::max(widest, x - gap);
    }
    return {widest, y + rowHeight};
}
