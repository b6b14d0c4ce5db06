#include "TileGrid.h"

#include "AdaptiveGrid.h"
#include "TabOrder.h"

#include <QKeyEvent>
#include <utility>

TileGrid::TileGrid(Metrics metrics, QWidget *parent)
    : QWidget(parent),
      m_grid(new AdaptiveGrid({metrics.minimumWidth, metrics.maximumWidth, metrics.columnSpacing},
                              metrics.rowSpacing, this))
{
}

void TileGrid::setTiles(const QList<QWidget *> &tiles)
{
    while (QLayoutItem *item = m_grid->takeAt(0))
        delete item;
    for (QWidget *old : std::as_const(m_tiles)) {
        if (!tiles.contains(old))
            delete old;
    }
    m_tiles = tiles;
    for (QWidget *tile : tiles) {
        m_grid->addWidget(tile);
        tile->show();
    }
    // Tab follows the grid's order, also for tiles kept from before.
    TabOrder::placeIn(*this, tiles);
}

int TileGrid::columns(int width) const
{
    return m_grid->columnCount(width);
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
            m_tiles[next]->setFocus(Qt::TabFocusReason);
    }
    event->accept();
}
