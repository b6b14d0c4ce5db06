#pragma once

#include <QObject>
#include <functional>

class KeyboardFocus;
class Masonry;

// The grid's focused card: a click puts the focus on the card clicked, the
// arrow keys walk it to the nearest card their way, and it is ringed only
// while the keyboard put it there.
class MasonryFocus : public QObject {
    Q_OBJECT
public:
    explicit MasonryFocus(Masonry &grid);

    // The focused card, or -1.
    int card() const { return m_card; }
    bool ringShown() const;
    bool isByKeyboard() const;
    // A click's card; the ring follows the pointer's rules.
    void setCard(int index);
    // An arrow key moves the focus; with none yet it starts at the first card shown.
    void move(int key);
    // Keeps the focus on its post after the grid's posts changed.
    void followPosts(const std::function<int(int)> &newIndex);

private:
    int firstShownCard() const;
    // The nearest card the arrow's way, or -1.
    int nearestToward(int key) const;

    Masonry &m_grid;
    KeyboardFocus *m_keyboard;
    int m_card = -1;
};
