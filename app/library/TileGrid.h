#pragma once

#include <QList>
#include <QWidget>

// Tiles in as many columns as fit at their least width, each column growing
// up to its greatest width, rows as high as their tallest tile. Left and
// Right move the keyboard focus to the previous and next tile, Up and Down
// a row up or down.
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

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Lays the tiles out for the width; returns the height they take.
    int place(int width, bool move) const;
    int columnWidth(int width, int columns) const;

    Metrics m_metrics;
    QList<QWidget *> m_tiles;
};
