#include "StillImage.h"

#include "MediaImage.h"

#include <QVBoxLayout>

StillImage::StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_image(new MediaImage)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_image);
    m_image->setMedia(std::move(media), ImageCache::Size::full);
}
