#include "MediaPages.h"

#include "MediaItemView.h"
#include "Motion.h"

MediaPages::MediaPages(QWidget *parent)
    : QWidget(parent), m_slide(new Motion(Motion::Curve::spring(0.32, 0.9), 0.0, this))
{
    setObjectName(QStringLiteral("MediaPages"));
    connect(m_slide, &Motion::valueChanged, this, &MediaPages::place);
}

void MediaPages::setPages(const QList<std::shared_ptr<Media>> &media, int index)
{
    m_media = media;
    m_index = index;
    QHash<const Media *, MediaItemView *> kept;
    for (int i = std::max(0, index - 1); i <= std::min(index + 1, int(media.size()) - 1); ++i) {
        const Media *item = media.at(i).get();
        MediaItemView *view = m_views.take(item);
        if (!view)
            view = MediaItemView::create(media.at(i), i == index, this);
        view->setCurrent(i == index);
        kept.insert(item, view);
    }
    qDeleteAll(m_views);
    m_views = kept;
    if (isVisible())
        m_slide->animateTo(qreal(index));
    else
        m_slide->jumpTo(qreal(index));
    place();
}

MediaItemView *MediaPages::view(int index) const
{
    return index >= 0 && index < m_media.size() ? m_views.value(m_media.at(index).get()) : nullptr;
}

void MediaPages::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

// Neighbours sit outside the widget, where they cannot be seen or clicked.
void MediaPages::place()
{
    const qreal position = m_slide->value().toReal();
    for (int i = 0; i < m_media.size(); ++i) {
        if (MediaItemView *page = view(i)) {
            page->setGeometry(qRound((i - position) * (width() + gap)), 0, width(), height());
            page->setVisible(true);
        }
    }
}
