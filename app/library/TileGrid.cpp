#include "TileGrid.h"

#include <QKeyEvent>
#include <algorithm>
#include <utility>

TileGrid::TileGrid(Metrics metrics, QWidget *parent) : QWidget(parent), m_metrics(metrics)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TileGrid::setTiles(const QList<QWidget *> &tiles)
{
    for (QWidget *old : std::as_const(m_tiles)) {
        if (!tiles.contains(old))
            delete old;
    }
    m_tiles = tiles;
    for (QWidget *tile : tiles) {
        tile->setParent(this);
        tile->show();
    }
    // Tab follows the grid's order, also for tiles kept from before.
    for (qsizetype index = 1; index < tiles.size(); ++index)
        setTabOrder(tiles[index - 1], tiles[index]);
    place(width(), true);
    updateGeometry();
}

int TileGrid::columns(int width) const
{
    const int step = m_metrics.minimumWidth + m_metrics.columnSpacing;
    return std::max(1, (width + m_metrics.columnSpacing) / step);
}

int TileGrid::columnWidth(int width, int columns) const
{
    const int shared = (width - m_metrics.columnSpacing * (columns - 1)) / columns;
    return std::min(shared, m_metrics.maximumWidth);
}

int TileGrid::place(int width, bool move) const
{
    const int count = columns(width);
    const int cell = columnWidth(width, count);
    int top = 0;
    for (qsizetype first = 0; first < m_tiles.size(); first += count) {
        const QList<QWidget *> row = m_tiles.mid(first, count);
        int rowHeight = 0;
        for (const QWidget *tile : row)
            rowHeight = std::max(rowHeight, tile->sizeHint().height());
        for (qsizetype column = 0; move && column < row.size(); ++column)
            row[column]->setGeometry(int(column) * (cell + m_metrics.columnSpacing), top, cell,
                                     row[column]->sizeHint().height());
        top += rowHeight + m_metrics.rowSpacing;
    }
    return m_tiles.isEmpty() ? 0 : top - m_metrics.rowSpacing;
}

int TileGrid::heightForWidth(int width) const
{
    return place(width, false);
}

QSize TileGrid::sizeHint() const
{
    const int width = 3 * m_metrics.maximumWidth + 2 * m_metrics.columnSpacing;
    return {width, heightForWidth(width)};
}

QSize TileGrid::minimumSizeHint() const
{
    return {m_metrics.minimumWidth, 0};
}

void TileGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place(width(), true);
}

void TileGrid::keyPressEvent(QKeyEvent *event)
{
    const qsizetype current = m_tiles.indexOf(focusWidget());
    const int row = columns(width());
    qsizetype step = 0;
    switch (event->key()) {
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Right: step = 1; break;
    case Qt::Key_Up: step = -row; break;
    case Qt::Key_Down: step = row; break;
    default: QWidget::keyPressEvent(event); return;
    }
    if (current >= 0) {
        const qsizetype next = current + step;
        if (next >= 0 && next < m_tiles.size())
            m_tiles[next]->setFocus(Qt::OtherFocusReason);
    }
    event->accept();
}
