#pragma once

#include "Platform.h"

#include <QRectF>
#include <QWidget>

class QPainter;

// A platform's symbol in white on a circle of the platform's colour, `size`
// pixels across: the circle keeps the black symbols of some platforms
// readable on dark backgrounds.
class PlatformBadge : public QWidget {
    Q_OBJECT
public:
    PlatformBadge(Platform platform, int size, QWidget *parent = nullptr);

    // Draws the badge into the square centred in the rectangle, for views
    // that paint their contents themselves.
    static void paint(QPainter &painter, Platform platform, const QRectF &rect);

    Platform platform() const { return m_platform; }
    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Platform m_platform;
    int m_size;
};
