#pragma once

#include <QObject>
#include <QPointF>
#include <optional>

class Motion;

// The pointer a hover tilt follows, on springs: the tilt springs in towards
// the pointer, follows it, and springs back when the pointer leaves. The
// pointer itself is taken at once; only the picture follows.
class TiltHover : public QObject {
    Q_OBJECT
public:
    explicit TiltHover(QObject *parent = nullptr);

    // Moves under half a point on both axes are dropped.
    void hover(const QPointF &point);
    void leave();
    // Back at rest at once, as when the grid starts scrolling.
    void clear();

    // The point drawn now; none at rest.
    std::optional<QPointF> point() const;
    // How far the tilt has come in: 0 at rest, 1 fully tilted.
    qreal amount() const;
    Motion &amountMotion() const { return *m_amount; }

signals:
    void changed();

private:
    Motion *m_point;
    Motion *m_amount;
    std::optional<QPointF> m_target;
};
