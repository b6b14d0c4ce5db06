#include "MediaItemView.h"

#include "LivePhotoView.h"
#include "Media.h"
#include "PlayerItemView.h"
#include "StillImage.h"

MediaItemView *MediaItemView::create(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
{
    if (!media->hasVideo())
        return new StillImage(std::move(media), isCurrent, parent);
    switch (media->kind()) {
    case MediaKind::livePhoto: return new LivePhotoView(std::move(media), isCurrent, parent);
    case MediaKind::audio: return new PlayerItemView(std::move(media), isCurrent, true, parent);
    default: return new PlayerItemView(std::move(media), isCurrent, false, parent);
    }
}

MediaItemView::MediaItemView(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
    : QWidget(parent), m_media(std::move(media)), m_current(isCurrent)
{
}

void MediaItemView::setCurrent(bool current)
{
    if (current == m_current)
        return;
    m_current = current;
    currentChanged();
}
