#pragma once

#include <QWidget>

// Softens the top edge of the detail column: the page colour covers the bar
// with the back button and fades out over the 32 pixels below it. It never
// takes the mouse.
class ToolbarFade : public QWidget {
    Q_OBJECT
public:
    explicit ToolbarFade(int barHeight, QWidget *parent = nullptr);

    static constexpr int fadeHeight = 32;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_barHeight;
};
