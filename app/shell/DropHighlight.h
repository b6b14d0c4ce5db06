#pragma once

#include <QWidget>

// Shown over the detail column while links are dragged over it: a dashed
// frame in the accent colour with "松手收藏这个链接". It never takes the drop.
class DropHighlight : public QWidget {
    Q_OBJECT
public:
    explicit DropHighlight(QWidget *parent = nullptr);

    static constexpr int inset = 10;

protected:
    void paintEvent(QPaintEvent *event) override;
};
