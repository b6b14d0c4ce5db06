#include "MediaImage.h"

#include "Media.h"
#include "ModelContext.h"

#include <QPainter>
#include <QPainterPath>

MediaImage::MediaImage(QWidget *parent, ImageCache &cache) : QWidget(parent), m_cache(cache) {}

void MediaImage::setMedia(std::shared_ptr<Media> media, ImageCache::Size size)
{
    disconnect(m_storeChanges);
    m_media = std::move(media);
    m_size = size;
    if (m_media && m_media->context())
        m_storeChanges =
            connect(m_media->context(), &ModelContext::changed, this, &MediaImage::refreshIfChanged);
    refreshIfChanged();
}

void MediaImage::setFit(bool fit)
{
    m_fit = fit;
    update();
}

void MediaImage::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

MediaImage::Identity MediaImage::currentIdentity() const
{
    return m_media ? Identity{m_media->id(), m_media->dataSize(), m_size} : Identity{{}, 0, m_size};
}

void MediaImage::refreshIfChanged()
{
    const Identity identity = currentIdentity();
    if (m_loaded == identity)
        return;
    m_loaded.reset();
    if (m_media && !m_media->isGone()) {
        if (const QImage cached = m_cache.cached(ImageCache::key(*m_media, m_size)); !cached.isNull()) {
            m_loaded = identity;
            setImage(cached);
            return;
        }
    }
    if (isVisible())
        startLoad();
}

void MediaImage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded)
        startLoad();
}

void MediaImage::startLoad()
{
    const Identity identity = currentIdentity();
    m_loaded = identity;
    QCoro::connect(m_cache.load(m_media, m_size), this, [this, identity](const QImage &image) {
        if (m_loaded != identity)
            return; // a newer load replaces this one
        setImage(image);
        emit imageLoaded();
    });
}

void MediaImage::setImage(const QImage &image)
{
    if (image.cacheKey() == m_image.cacheKey())
        return;
    m_image = image;
    update();
}

void MediaImage::paintEvent(QPaintEvent *)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize scaled =
        m_image.size().scaled(size(), m_fit ? Qt::KeepAspectRatio : Qt::KeepAspectRatioByExpanding);
    QRect target(QPoint(), scaled);
    target.moveCenter(rect().center());
    painter.setClipRect(rect());
    if (m_cornerRadius > 0) {
        QPainterPath corners;
        corners.addRoundedRect(QRectF(target.intersected(rect())), m_cornerRadius, m_cornerRadius);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setClipPath(corners, Qt::IntersectClip);
    }
    painter.drawImage(target, m_image);
}
