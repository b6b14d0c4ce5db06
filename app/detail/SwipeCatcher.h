#pragma once

#include <QObject>
#include <optional>

class QWheelEvent;
class QWidget;

// Turns a horizontal two-finger swipe over a widget into one paging step, as
// a photo viewer pages. It watches the widget's wheel events (its own and
// those its children leave) and swallows the events of a horizontal gesture,
// so nothing under the fingers scrolls as well. Mouse wheels pass untouched.
class SwipeCatcher : public QObject {
    Q_OBJECT
public:
    // Farther than this along x, a gesture pages.
    static constexpr double threshold = 40;
    // Without scroll phases, a pause this long ends a gesture.
    static constexpr qint64 idleMilliseconds = 200;

    explicit SwipeCatcher(QWidget *stage);

signals:
    // +1 for the next item, -1 for the previous one; once per gesture.
    void swiped(int step);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the event belongs to a horizontal gesture and is consumed.
    bool handle(const QWheelEvent &event);
    void beginGestureIfNew(const QWheelEvent &event);

    QWidget *m_stage;
    double m_dx = 0;
    double m_dy = 0;
    bool m_fired = false;
    // Time of the last precise event seen, for gestures without phases.
    std::optional<quint64> m_lastTime;
};
