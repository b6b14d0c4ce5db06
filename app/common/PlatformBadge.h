#pragma once

#include "Platform.h"

#include <QWidget>

// A platform's symbol in the platform's colour, `size` pixels across.
class PlatformBadge : public QWidget {
    Q_OBJECT
public:
    PlatformBadge(Platform platform, int size, QWidget *parent = nullptr);

    Platform platform() const { return m_platform; }
    QSize sizeHint() const override { return {m_size, m_size}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Platform m_platform;
    int m_size;
};
