#include "CoverThumbnails.h"

#include "Media.h"

#include <QPainter>

CoverThumbnails::CoverThumbnails(QObject *parent, ImageCache &cache) : QObject(parent), m_cache(cache) {}

void CoverThumbnails::setCovers(const QList<std::shared_ptr<Media>> &covers)
{
    if (covers == m_covers)
        return;
    m_covers = covers;
    m_images = QList<QImage>(covers.size());
    for (qsizetype index = 0; index < covers.size(); ++index) {
        const std::shared_ptr<Media> media = covers[index];
        if (!media || media->needsImageDownload())
            continue;
        m_images[index] = m_cache.cached(ImageCache::key(*media, ImageCache::Size::thumb));
        if (!m_images[index].isNull())
            continue;
        QCoro::connect(m_cache.load(media, ImageCache::Size::thumb), this,
                       [this, media, index](const QImage &image) {
                           if (m_covers.value(index) != media)
                               return; // replaced meanwhile
                           m_images[index] = image;
                           emit loaded();
                       });
    }
}
