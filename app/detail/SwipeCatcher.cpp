#include "SwipeCatcher.h"

#include <QInputDevice>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

namespace {

// A notch of a wheel is 120 units; scrolled content moves about 60 points
// for it, so a touchpad that reports only angles is measured the same way.
constexpr double pointsPerAngleUnit = 0.5;

bool isPrecise(const QWheelEvent &event)
{
    return !event.pixelDelta().isNull() || event.device()->type() == QInputDevice::DeviceType::TouchPad;
}

QPointF travel(const QWheelEvent &event)
{
    if (!event.pixelDelta().isNull())
        return event.pixelDelta();
    return QPointF(event.angleDelta()) * pointsPerAngleUnit;
}

} // namespace

SwipeCatcher::SwipeCatcher(QWidget *stage) : QObject(stage), m_stage(stage)
{
    stage->installEventFilter(this);
}

bool SwipeCatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_stage || event->type() != QEvent::Wheel)
        return false;
    auto *wheel = static_cast<QWheelEvent *>(event);
    if (!handle(*wheel))
        return false;
    wheel->accept();
    return true;
}

bool SwipeCatcher::handle(const QWheelEvent &event)
{
    if (!isPrecise(event) || !m_stage->rect().contains(event.position().toPoint()))
        return false;
    // The inertial tail of a gesture that paged is swallowed; any other passes on.
    if (event.phase() == Qt::ScrollMomentum)
        return m_fired;
    beginGestureIfNew(event);
    const QPointF delta = travel(event);
    m_dx += delta.x();
    m_dy += delta.y();
    if (!(std::abs(m_dy) < std::abs(m_dx)))
        return false;
    if (std::abs(m_dx) > threshold && !m_fired) {
        m_fired = true;
        const bool forward = event.inverted() ? m_dx < 0 : m_dx > 0;
        emit swiped(forward ? +1 : -1);
    }
    if (event.phase() == Qt::ScrollEnd) {
        m_dx = 0;
        m_dy = 0;
    }
    return true;
}

void SwipeCatcher::beginGestureIfNew(const QWheelEvent &event)
{
    const quint64 now = event.timestamp();
    const bool idle = !m_lastTime || now - *m_lastTime >= quint64(idleMilliseconds);
    m_lastTime = now;
    const bool begins = event.phase() == Qt::ScrollBegin || (event.phase() == Qt::NoScrollPhase && idle);
    if (!begins)
        return;
    m_dx = 0;
    m_dy = 0;
    m_fired = false;
}
