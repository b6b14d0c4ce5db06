#pragma once

#include "OrganizeTile.h"

// The dashed tile after the boards that starts a new board.
class NewBoardTile : public OrganizeTile {
    Q_OBJECT
public:
    explicit NewBoardTile(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
