#pragma once

#include "ImageCache.h"

#include <QImage>
#include <QMetaObject>
#include <QUuid>
#include <QWidget>
#include <memory>
#include <optional>

class Media;

// One media item's picture through the shared image cache, fitted inside or
// filling the widget. A cached picture shows at once; otherwise it is loaded
// when the widget is shown and again whenever the item's bytes change. Until
// then the widget draws nothing of its own.
class MediaImage : public QWidget {
    Q_OBJECT
public:
    explicit MediaImage(QWidget *parent = nullptr, ImageCache &cache = ImageCache::shared());

    void setMedia(std::shared_ptr<Media> media, ImageCache::Size size);
    bool fit() const { return m_fit; }
    void setFit(bool fit);
    // Rounds the corners of the picture as drawn (not of the widget).
    void setCornerRadius(qreal radius);
    QImage image() const { return m_image; }

signals:
    // After a load ended, with or without a picture.
    void imageLoaded();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // What a load depends on: the item, its byte count and the size.
    struct Identity {
        QUuid id;
        qint64 dataSize = 0;
        ImageCache::Size size = ImageCache::Size::thumb;
        bool operator==(const Identity &) const = default;
    };

    Identity currentIdentity() const;
    void refreshIfChanged();
    void startLoad();
    void setImage(const QImage &image);

    ImageCache &m_cache;
    std::shared_ptr<Media> m_media;
    ImageCache::Size m_size = ImageCache::Size::thumb;
    bool m_fit = true;
    qreal m_cornerRadius = 0;
    QImage m_image;
    std::optional<Identity> m_loaded; // identity of the last load started
    QMetaObject::Connection m_storeChanges;
};
