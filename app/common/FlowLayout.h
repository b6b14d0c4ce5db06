#pragma once

#include <QLayout>
#include <QList>

// Lays its items out side by side in reading order and starts a new row
// whenever the next item would cross the right edge, like words in a
// paragraph. Items keep their size hint: they are never shrunk or stretched,
// and an item wider than the line gets a row of its own and overflows on the
// right. Rows are left-aligned and each item sits at the top of its row.
// The layout's spacing is used both within a row and between rows.
class FlowLayout : public QLayout {
    Q_OBJECT
public:
    explicit FlowLayout(int spacing, QWidget *parent = nullptr);
    ~FlowLayout() override;

    // The size the rows need within that width, margins included.
    QSize sizeForWidth(int width) const;

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Measures the rows within the bounds' width and, when asked, places the
    // items in them; gives the widest row's width and the rows' height.
    QSize flow(const QRect &bounds, bool place) const;

    QList<QLayoutItem *> m_items;
};
