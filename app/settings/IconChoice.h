#pragma once

#include "DockIcon.h"

#include <QAbstractButton>

// One application icon to choose: its preview with a ring while it is the
// chosen one, and its name below.
class IconChoice : public QAbstractButton {
    Q_OBJECT
public:
    explicit IconChoice(const DockIcon &icon, QWidget *parent = nullptr);

    DockIcon icon() const { return m_icon; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF previewRect() const;

    DockIcon m_icon;
};
