#pragma once

#include "ImageCache.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <memory>

class Media;

// The thumbnails of a few covers: cached ones at once, the others decoded in
// the background. A cover still waiting for its download gets none.
class CoverThumbnails : public QObject {
    Q_OBJECT
public:
    explicit CoverThumbnails(QObject *parent = nullptr, ImageCache &cache = ImageCache::shared());

    // Loads again only when the covers changed.
    void setCovers(const QList<std::shared_ptr<Media>> &covers);
    const QList<std::shared_ptr<Media>> &covers() const { return m_covers; }
    // Null while loading, for a cover that needs its download and for bytes
    // that are no image.
    QImage image(qsizetype index) const { return m_images.value(index); }

signals:
    void loaded();

private:
    ImageCache &m_cache;
    QList<std::shared_ptr<Media>> m_covers;
    QList<QImage> m_images;
};
