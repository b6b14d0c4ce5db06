#include "AdaptiveGrid.h"

#include <QWidget>
#include <algorithm>

AdaptiveGrid::AdaptiveGrid(Columns columns, int rowSpacing, QWidget *parent)
    : QLayout(parent), m_columns(columns), m_rowSpacing(rowSpacing)
{
    setContentsMargins(0, 0, 0, 0);
}

AdaptiveGrid::~AdaptiveGrid()
{
    qDeleteAll(m_items);
}

int AdaptiveGrid::columnCount(int width) const
{
    return std::max(1, (width + m_columns.spacing) / (m_columns.minimum + m_columns.spacing));
}

int AdaptiveGrid::columnWidth(int width) const
{
    const int columns = columnCount(width);
    return std::min(m_columns.maximum, (width - (columns - 1) * m_columns.spacing) / columns);
}

void AdaptiveGrid::addItem(QLayoutItem *item)
{
    // Tiles shorter than their row stand at its top, level with their neighbours.
    item->setAlignment(Qt::AlignTop);
    m_items.append(item);
    invalidate();
}

QLayoutItem *AdaptiveGrid::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    invalidate();
    return m_items.takeAt(index);
}

QSize AdaptiveGrid::sizeHint() const
{
    return {m_columns.minimum, heightForWidth(m_columns.minimum)};
}

QSize AdaptiveGrid::minimumSize() const
{
    // The height follows the width given (heightForWidth); a minimum taken at
    // the narrowest width would make a wide page taller than its rows.
    return {m_columns.minimum, 0};
}

int AdaptiveGrid::heightForWidth(int width) const
{
    return arrange(QRect(0, 0, width, 0), false);
}

void AdaptiveGrid::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int AdaptiveGrid::arrange(const QRect &rect, bool place) const
{
    const int columns = columnCount(rect.width());
    const int width = std::max(1, columnWidth(rect.width()));
    int top = rect.top();
    for (int first = 0; first < m_items.size(); first += columns) {
        const int last = std::min(int(m_items.size()), first + columns);
        int rowHeight = 0;
        for (int index = first; index < last; ++index) {
            const QLayoutItem *item = m_items[index];
            rowHeight = std::max(rowHeight, item->hasHeightForWidth() ? item->heightForWidth(width)
                                                                      : item->sizeHint().height());
        }
        for (int index = first; place && index < last; ++index) {
            const int left = rect.left() + (index - first) * (width + m_columns.spacing);
            m_items[index]->setGeometry(QRect(left, top, width, rowHeight));
        }
        top += rowHeight + m_rowSpacing;
    }
    return m_items.isEmpty() ? 0 : top - m_rowSpacing - rect.top();
}
