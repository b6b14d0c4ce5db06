#pragma once

#include <QScrollArea>

class QHBoxLayout;

// A row of widgets that scrolls sideways without scroll bars, on the
// background of whatever holds it, as tall as its tallest widget.
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
    void add(QWidget *widget);
    // Call after the row changed: the strip takes its content's height.
    void fitHeight();

private:
    QHBoxLayout *m_row;
};
