#pragma once

#include <QObject>
#include <QPointF>

class Motion;
class QGraphicsOpacityEffect;
class QWidget;

// Moves a floating widget in from below its parent's bottom edge with a
// fade, out the same way, and from one resting place to another, all on
// one spring. A new place or a new state takes over from a running motion.
class SlideIn : public QObject {
    Q_OBJECT
public:
    explicit SlideIn(QWidget *widget);

    // Shows the widget at rest at that top-left point of its parent.
    void showAt(const QPoint &resting);
    void hide();
    // Whether the widget is wanted on screen (it may still be sliding out).
    bool isShown() const { return m_shown; }
    Motion &presence() const { return *m_presence; }
    Motion &place() const { return *m_place; }

private:
    void step();

    QWidget *m_widget;
    Motion *m_presence; // 0 out of sight, 1 at rest
    Motion *m_place;    // the resting top-left point
    QGraphicsOpacityEffect *m_fade = nullptr;
    bool m_shown = false;
};
