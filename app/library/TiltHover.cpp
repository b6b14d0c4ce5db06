#include "TiltHover.h"

#include "FocusTilt.h"
#include "Motion.h"

namespace {

Motion::Curve following()
{
    return Motion::Curve::spring(0.28, 0.82);
}

Motion::Curve leaving()
{
    return Motion::Curve::spring(0.45, 0.72);
}

} // namespace

TiltHover::TiltHover(QObject *parent)
    : QObject(parent), m_point(new Motion(following(), QPointF(), this)),
      m_amount(new Motion(following(), 0.0, this))
{
    for (Motion *motion : {m_point, m_amount})
        connect(motion, &Motion::valueChanged, this, &TiltHover::changed);
}

void TiltHover::hover(const QPointF &point)
{
    if (!FocusTilt::isNewPoint(m_target, point))
        return;
    // Coming in from rest, the tilt leans from where the pointer entered.
    if (!m_target && amount() == 0)
        m_point->jumpTo(point);
    m_target = point;
    m_point->animateTo(point);
    m_amount->setCurve(following());
    m_amount->animateTo(1.0);
}

void TiltHover::leave()
{
    if (!m_target)
        return;
    m_target.reset();
    m_amount->setCurve(leaving());
    m_amount->animateTo(0.0);
}

void TiltHover::clear()
{
    m_target.reset();
    m_amount->jumpTo(0.0);
    emit changed();
}

std::optional<QPointF> TiltHover::point() const
{
    if (amount() == 0)
        return std::nullopt;
    return m_point->value().toPointF();
}

qreal TiltHover::amount() const
{
    return m_amount->value().toReal();
}
