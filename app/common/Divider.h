#pragma once

#include <QWidget>

// A hairline between parts of the screen, in the text colour faintly: it
// reads on a light page and a dark one alike and follows a switch between them.
class Divider : public QWidget {
    Q_OBJECT
public:
    explicit Divider(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
