#pragma once

#include <QHBoxLayout>
#include <QWidget>

// A row of content on a translucent capsule with a soft shadow below it, the
// look shared by the toast and the undo bar. The widget's margins leave room
// for the shadow. Over a parent it is never wider than the parent less its
// side distance: longer content wraps instead of running past the edges.
class FloatingCapsule : public QWidget {
    Q_OBJECT
public:
    explicit FloatingCapsule(QWidget *parent = nullptr);

    // The room around the visible capsule left for its shadow. Spacing to
    // the window's edge is measured from the capsule, not from the shadow.
    static QMargins shadowMargins();
    // The least room between the capsule and either side of its parent.
    static constexpr int sideDistance = 24;

    QSize sizeHint() const override;

protected:
    QHBoxLayout &row() { return *m_row; }
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF capsuleRect() const;

    QHBoxLayout *m_row;
};
