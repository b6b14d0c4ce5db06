#pragma once

#include <QHBoxLayout>
#include <QWidget>

// A row of content on a translucent capsule with a soft shadow below it, the
// look shared by the toast and the undo bar. The widget's margins leave room
// for the shadow.
class FloatingCapsule : public QWidget {
    Q_OBJECT
public:
    explicit FloatingCapsule(QWidget *parent = nullptr);

    // The room around the visible capsule left for its shadow. Spacing to
    // the window's edge is measured from the capsule, not from the shadow.
    static QMargins shadowMargins();

protected:
    QHBoxLayout &row() { return *m_row; }
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF capsuleRect() const;

    QHBoxLayout *m_row;
};
