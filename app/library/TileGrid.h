#pragma once

#include <QList>
#include <QWidget>

class AdaptiveGrid;

// Tiles in an adaptive grid whose keyboard focus moves like a grid: Left and
// Right to the previous and next tile, Up and Down a row up or down.
class TileGrid : public QWidget {
    Q_OBJECT
public:
    struct Metrics {
        int minimumWidth;
        int maximumWidth;
        int columnSpacing;
        int rowSpacing;
    };

    explicit TileGrid(Metrics metrics, QWidget *parent = nullptr);

    // The grid takes the tiles; old ones not among them are deleted.
    void setTiles(const QList<QWidget *> &tiles);
    const QList<QWidget *> &tiles() const { return m_tiles; }
    int columns(int width) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    AdaptiveGrid *m_grid;
    QList<QWidget *> m_tiles;
};
