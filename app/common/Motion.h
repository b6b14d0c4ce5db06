#pragma once

#include <QVariantAnimation>

// A value on its way to a target, moved by an easing curve or a damped
// spring. A new target takes over from wherever the value is, so a change
// never waits for the previous motion. Works on any type QVariantAnimation
// interpolates (qreal, QPointF, QRectF, QColor...).
class Motion : public QVariantAnimation {
    Q_OBJECT
public:
    // How progress (0..1 of the duration) maps to the share of the way covered.
    class Curve {
    public:
        // A spring that settles within a thousandth of its target; `response`
        // is the period of the undamped spring in seconds.
        static Curve spring(qreal response, qreal dampingFraction);
        static Curve easeInOut(qreal seconds);
        static Curve easeOut(qreal seconds);
        // How a bar folds away or comes back, and what stands on it with it.
        static Curve fold();

        int durationMs() const { return m_durationMs; }
        // 0 at 0 and exactly 1 at 1; a spring may pass 1 on the way.
        qreal at(qreal progress) const;

    private:
        Curve() = default;

        int m_durationMs = 0;
        QEasingCurve m_easing;
        qreal m_omega = 0;   // undamped angular frequency, 0 for an easing
        qreal m_damping = 1; // fraction of critical damping
    };

    Motion(const Curve &curve, const QVariant &initial, QObject *parent = nullptr);

    // Where the value stands now.
    QVariant value() const { return m_value; }
    QVariant target() const { return m_target; }
    void setCurve(const Curve &curve);
    // Moves from the current value to the target.
    void animateTo(const QVariant &target);
    // Stands on the target at once.
    void jumpTo(const QVariant &target);
    // Ends a running motion on its target.
    void finish();

    // Tests turn every motion into a jump, so no result waits for a clock.
    static void setInstant(bool instant);

protected:
    QVariant interpolated(const QVariant &from, const QVariant &to, qreal progress) const override;
    void updateCurrentValue(const QVariant &value) override;

private:
    Curve m_curve;
    QVariant m_value;
    QVariant m_target;
};
