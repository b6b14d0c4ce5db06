#include "MasonryFocus.h"

#include "KeyboardFocus.h"
#include "Masonry.h"
#include "Post.h"

#include <QScrollBar>
#include <cmath>
#include <optional>

namespace {

// How far a card lies the arrow's way; distance across the direction counts
// double, so a neighbour in line wins. None for a card not that way.
std::optional<qreal> distanceToward(int key, const QPointF &delta)
{
    qreal along = 0, across = 0;
    switch (key) {
    case Qt::Key_Left: along = -delta.x(), across = delta.y(); break;
    case Qt::Key_Right: along = delta.x(), across = delta.y(); break;
    case Qt::Key_Up: along = -delta.y(), across = delta.x(); break;
    default: along = delta.y(), across = delta.x(); break;
    }
    if (along <= 0.5)
        return std::nullopt;
    return along + 2 * std::abs(across);
}

} // namespace

MasonryFocus::MasonryFocus(Masonry &grid) : QObject(&grid), m_grid(grid), m_keyboard(new KeyboardFocus(&grid))
{
    connect(m_keyboard, &KeyboardFocus::changed, grid.viewport(), qOverload<>(&QWidget::update));
}

bool MasonryFocus::ringShown() const
{
    return m_keyboard->ringShown();
}

bool MasonryFocus::isByKeyboard() const
{
    return m_keyboard->isByKeyboard();
}

void MasonryFocus::setCard(int index)
{
    m_card = index;
    m_grid.viewport()->update();
}

void MasonryFocus::move(int key)
{
    if (m_grid.posts().isEmpty())
        return;
    m_keyboard->setByKeyboard(true);
    if (m_card < 0)
        m_card = firstShownCard();
    else if (const int next = nearestToward(key); next >= 0)
        m_card = next;
    m_grid.revealCard(m_card);
}

void MasonryFocus::followPosts(const std::function<int(int)> &newIndex)
{
    m_card = newIndex(m_card);
}

int MasonryFocus::firstShownCard() const
{
    const qreal top = m_grid.verticalScrollBar()->value() - m_grid.cardAreaTop();
    const QList<int> shown = m_grid.cardsInBand(top, top + m_grid.viewport()->height());
    return shown.isEmpty() ? 0 : shown.first();
}

int MasonryFocus::nearestToward(int key) const
{
    const Masonry::Layout &layout = m_grid.currentLayout();
    const QRectF focused = layout.frames[m_card];
    const qreal reach = std::max(qreal(m_grid.viewport()->height()), focused.height()) * 2;
    int best = -1;
    qreal bestDistance = 0;
    for (int index : m_grid.cardsInBand(focused.center().y() - reach, focused.center().y() + reach)) {
        const std::optional<qreal> distance =
            distanceToward(key, layout.frames[index].center() - focused.center());
        if (!distance || m_grid.posts()[index]->isGone())
            continue;
        if (best < 0 || *distance < bestDistance)
            best = index, bestDistance = *distance;
    }
    return best;
}
