#pragma once

#include <QObject>
#include <QPointF>
#include <array>
#include <functional>
#include <optional>

class Masonry;
class TiltHover;

// The pointer over the grid's cards: the card under it tilts towards it, and
// a card the pointer left springs back while the next one springs in. While
// the grid scrolls, or a card is dragged, no card stays tilted.
class MasonryHover : public QObject {
    Q_OBJECT
public:
    explicit MasonryHover(Masonry &grid);

    // The card tilting towards the pointer, or -1.
    int card() const { return m_card; }
    // The tilt a card is drawn with, or none while it rests.
    const TiltHover *tiltOf(int index) const;
    // The cards drawn above their neighbours, in paint order: the one
    // springing back, then the one springing in.
    std::array<int, 2> raisedCards() const { return {m_fadingCard, m_card}; }

    // The card under a viewport point tilts towards it; none elsewhere.
    void hoverAt(const QPointF &point);
    // The pointer is back from a popup that held it while it moved: the tilt
    // goes to the card under it now, if any.
    void followPointer();
    void leave();
    void stop();
    // Keeps the tilts on their posts after the grid's posts changed.
    void followPosts(const std::function<int(int)> &newIndex);

private:
    void setHover(int index, const std::optional<QPointF> &point);
    void dirtyCard(int index);

    Masonry &m_grid;
    TiltHover *m_tilt;   // the card under the pointer
    TiltHover *m_fading; // the card the pointer left, springing back
    int m_card = -1;
    int m_fadingCard = -1;
};
