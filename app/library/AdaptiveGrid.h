#pragma once

#include <QLayout>
#include <QList>

// Lays its widgets out row by row from the leading edge in as many equal
// columns as fit at the minimum width, each column at most the maximum
// width; a row is as tall as its tallest widget.
class AdaptiveGrid : public QLayout {
public:
    struct Columns {
        int minimum;
        int maximum;
        int spacing;
    };

    AdaptiveGrid(Columns columns, int rowSpacing, QWidget *parent = nullptr);
    ~AdaptiveGrid() override;

    // How many columns a width holds, and how wide each is.
    int columnCount(int width) const;
    int columnWidth(int width) const;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem *itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem *takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect &rect) override;

private:
    // Places the items when asked to; returns the height they take.
    int arrange(const QRect &rect, bool place) const;

    Columns m_columns;
    int m_rowSpacing;
    QList<QLayoutItem *> m_items;
};
