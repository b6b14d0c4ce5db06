#include "Motion.h"

#include <cmath>
#include <numbers>

namespace {

bool instantMotion = false;
// A spring counts as settled once it stays this close to its target.
constexpr qreal settled = 0.001;

} // namespace

Motion::Curve Motion::Curve::spring(qreal response, qreal dampingFraction)
{
    Curve curve;
    curve.m_omega = 2 * std::numbers::pi / response;
    curve.m_damping = std::clamp(dampingFraction, 0.05, 1.0);
    const qreal zeta = curve.m_damping;
    // The envelope of the error falls below `settled` by then.
    const qreal scaled = zeta < 1 ? std::log(1 / (settled * std::sqrt(1 - zeta * zeta))) / zeta
                                  : 9.24; // (1 + x) e^-x = settled
    curve.m_durationMs = int(std::ceil(1000 * scaled / curve.m_omega));
    return curve;
}

Motion::Curve Motion::Curve::easeInOut(qreal seconds)
{
    Curve curve;
    curve.m_durationMs = int(seconds * 1000);
    curve.m_easing = QEasingCurve(QEasingCurve::InOutQuad);
    return curve;
}

Motion::Curve Motion::Curve::fold()
{
    return easeInOut(0.25);
}

Motion::Curve Motion::Curve::easeOut(qreal seconds)
{
    Curve curve;
    curve.m_durationMs = int(seconds * 1000);
    curve.m_easing = QEasingCurve(QEasingCurve::OutQuad);
    return curve;
}

qreal Motion::Curve::at(qreal progress) const
{
    if (progress >= 1)
        return 1;
    if (m_omega == 0)
        return m_easing.valueForProgress(progress);
    // The step response of a spring released at rest.
    const qreal t = progress * m_durationMs / 1000.0;
    const qreal zeta = m_damping;
    const qreal decay = std::exp(-zeta * m_omega * t);
    if (zeta >= 1)
        return 1 - decay * (1 + m_omega * t);
    const qreal omegaD = m_omega * std::sqrt(1 - zeta * zeta);
    return 1 - decay * (std::cos(omegaD * t) + zeta * m_omega / omegaD * std::sin(omegaD * t));
}

Motion::Motion(const Curve &curve, const QVariant &initial, QObject *parent)
    : QVariantAnimation(parent), m_curve(curve), m_value(initial), m_target(initial)
{
    setDuration(curve.durationMs());
}

void Motion::setCurve(const Curve &curve)
{
    m_curve = curve;
    if (state() != Running)
        setDuration(curve.durationMs());
}

void Motion::animateTo(const QVariant &target)
{
    if (instantMotion || m_curve.durationMs() <= 0) {
        jumpTo(target);
        return;
    }
    if (target == m_target && state() == Running)
        return;
    stop();
    m_target = target;
    if (target == m_value)
        return;
    setDuration(m_curve.durationMs());
    setStartValue(m_value);
    setEndValue(target);
    start();
}

void Motion::jumpTo(const QVariant &target)
{
    stop();
    m_target = target;
    if (target == m_value)
        return;
    m_value = target;
    emit valueChanged(m_value);
}

void Motion::finish()
{
    if (state() == Running)
        jumpTo(m_target);
}

void Motion::setInstant(bool instant)
{
    instantMotion = instant;
}

QVariant Motion::interpolated(const QVariant &from, const QVariant &to, qreal progress) const
{
    return QVariantAnimation::interpolated(from, to, m_curve.at(progress));
}

// QVariantAnimation also recomputes its value when its keys change while it
// is stopped; only a running motion moves the value.
void Motion::updateCurrentValue(const QVariant &value)
{
    if (state() == Running)
        m_value = value;
}
