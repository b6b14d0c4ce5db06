#pragma once

#include "OrganizeTile.h"

// The dashed tile after the boards that starts a new board.
class NewBoardTile : public OrganizeTile {
    Q_OBJECT
public:
    explicit NewBoardTile(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    // The dashed tile, in the tile's coordinates.
    QRectF tileRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
