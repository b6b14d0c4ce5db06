#pragma once

#include <QScrollArea>

class QHBoxLayout;

// A row of widgets that scrolls sideways without scroll bars, on the
// background of whatever holds it, as tall as its tallest widget: it
// follows every change of the row by itself.
class HorizontalStrip : public QScrollArea {
    Q_OBJECT
public:
    explicit HorizontalStrip(int spacing, QWidget *parent = nullptr);

    // Ends with a stretch; insert before it.
    QHBoxLayout *row() const { return m_row; }
    // The widgets of the row, in order.
    QList<QWidget *> items() const;
    // Keeps the leading stretch and drops every widget.
    void clear();
    // Shown at once, unless hidden on purpose before.
    void add(QWidget *widget);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHBoxLayout *m_row;
};
