#pragma once

#include <QWidget>

// A ring in the highlight colour laid over a widget, for a screen that holds
// the keyboard without drawing any focus of its own. Clicks pass through it,
// and it keeps to the widget's size.
class MediaFocusRing : public QWidget {
    Q_OBJECT
public:
    explicit MediaFocusRing(QWidget *around);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
