#include "MasonryHover.h"

#include "Masonry.h"
#include "TiltHover.h"

#include <QApplication>
#include <QCursor>
#include <QSignalBlocker>

MasonryHover::MasonryHover(Masonry &grid)
    : QObject(&grid), m_grid(grid), m_tilt(new TiltHover(this)), m_fading(new TiltHover(this))
{
    for (TiltHover *tilt : {m_tilt, m_fading}) {
        connect(tilt, &TiltHover::changed, this, [this] {
            dirtyCard(m_card);
            dirtyCard(m_fadingCard);
        });
    }
}

const TiltHover *MasonryHover::tiltOf(int index) const
{
    if (index == m_card && m_tilt->point())
        return m_tilt;
    return index == m_fadingCard && m_fading->point() ? m_fading : nullptr;
}

void MasonryHover::hoverAt(const QPointF &point)
{
    if (m_grid.isScrolling())
        return;
    const int index = m_grid.cardAt(point);
    const QRectF body = index >= 0 ? PostCard::bodyRect(m_grid.cardRect(index), m_grid.metrics()) : QRectF();
    if (body.contains(point))
        setHover(index, point - body.topLeft());
    else
        leave();
}

void MasonryHover::followPointer()
{
    const QPoint pointer = QCursor::pos();
    if (QApplication::widgetAt(pointer) == m_grid.viewport())
        hoverAt(m_grid.viewport()->mapFromGlobal(pointer));
    else
        leave();
}

void MasonryHover::leave()
{
    setHover(-1, std::nullopt);
}

void MasonryHover::stop()
{
    dirtyCard(m_card);
    dirtyCard(m_fadingCard);
    m_tilt->clear();
    m_fading->clear();
    m_card = m_fadingCard = -1;
}

void MasonryHover::followPosts(const std::function<int(int)> &newIndex)
{
    m_card = newIndex(m_card);
    m_fadingCard = newIndex(m_fadingCard);
    // The indices name the new posts while the frames are still the old
    // ones; the whole grid repaints once laid out again, so no card is marked.
    const QSignalBlocker quietTilt(m_tilt), quietFading(m_fading);
    if (m_card < 0)
        m_tilt->clear();
    if (m_fadingCard < 0)
        m_fading->clear();
}

void MasonryHover::setHover(int index, const std::optional<QPointF> &point)
{
    if (index != m_card) {
        if (index < 0 && m_card < 0)
            return;
        dirtyCard(m_fadingCard);
        m_fading->clear();
        std::swap(m_tilt, m_fading);
        m_fadingCard = m_card;
        m_fading->leave();
        m_card = index;
    }
    if (index >= 0 && point)
        m_tilt->hover(*point);
    else
        m_tilt->leave();
}

void MasonryHover::dirtyCard(int index)
{
    if (index >= 0 && index < m_grid.posts().size())
        m_grid.viewport()->update(m_grid.cardRect(index).adjusted(-24, -24, 24, 40).toAlignedRect());
}
