#include "ImageCache.h"

#include "ImageTools.h"
#include "Media.h"
#include "QuietSave.h"
#include "Text.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent>

namespace {

std::optional<QByteArray> fullBytes(const Media &media)
{
    const auto data = media.data();
    return data ? data : media.thumbnail();
}

// A thumbnail made again from a picture, and its image.
struct Remade {
    std::optional<QByteArray> thumbnail;
    QImage image;
};

Remade remake(const QByteArray &picture)
{
    Remade remade{Media::thumbnailOf(picture), {}};
    if (remade.thumbnail)
        remade.image = ImageCache::decode(*remade.thumbnail, ImageCache::thumbPixels);
    return remade;
}

// Outside the coroutines: GCC 12 destroys temporaries of a co_await expression twice.
QFuture<QImage> startDecode(const QByteArray &data, int maxPixel)
{
    return QtConcurrent::run(&ImageCache::decode, data, maxPixel);
}

QFuture<Remade> startRemake(const QByteArray &picture)
{
    return QtConcurrent::run(&remake, picture);
}

// A thumbnail that is missing, cut short or no image is made again from the
// stored picture, as when the picture was stored, and kept.
QCoro::Task<QImage> remadeThumbnail(std::shared_ptr<Media> media)
{
    if (media->isGone())
        co_return QImage();
    const qint64 pictureSize = media->dataSize();
    const auto picture = media->data();
    if (!picture)
        co_return QImage();
    const QFuture<Remade> making = startRemake(*picture);
    const Remade remade = co_await making;
    // A new picture stored meanwhile brought its own thumbnail.
    if (remade.thumbnail && !media->isGone() && media->dataSize() == pictureSize) {
        media->setThumbnail(remade.thumbnail);
        saveQuietly(*media->context());
    }
    co_return remade.image;
}

} // namespace

ImageCache::ImageCache(int countLimit, qint64 byteLimit) : m_countLimit(countLimit), m_byteLimit(byteLimit) {}

ImageCache &ImageCache::shared()
{
    static ImageCache cache;
    return cache;
}

QString ImageCache::key(const Media &media, Size size)
{
    return QStringLiteral("%1-%2-%3")
        .arg(Text::uuidText(media.id()), size == Size::full ? QStringLiteral("f") : QStringLiteral("t"))
        .arg(media.dataSize());
}

QImage ImageCache::decode(const QByteArray &data, int maxPixel)
{
    // A scaled decode allocates only the scaled size, so a header claiming a
    // giant picture would pass the reader's allocation limit.
    const auto declared = ImageTools::pixelSize(data);
    if (!declared || declared->width() * declared->height() > maxSourcePixels)
        return {};
    return ImageTools::image(data, maxPixel).value_or(QImage());
}

QCoro::Task<QImage> ImageCache::load(std::shared_ptr<Media> media, Size size)
{
    if (!media || media->isGone())
        co_return QImage();
    const QString key = ImageCache::key(*media, size);
    if (QImage image = cached(key); !image.isNull())
        co_return image;
    QImage image;
    if (const auto bytes = size == Size::full ? fullBytes(*media) : media->thumbnail()) {
        const QFuture<QImage> decoding = startDecode(*bytes, maxPixel(size));
        image = co_await decoding;
    }
    if (image.isNull() && size == Size::thumb)
        image = co_await remadeThumbnail(media);
    if (!image.isNull())
        insert(key, image);
    co_return image;
}

QImage ImageCache::cached(const QString &key)
{
    const auto found = m_index.constFind(key);
    if (found == m_index.cend())
        return {};
    m_entries.splice(m_entries.begin(), m_entries, *found);
    return m_entries.front().image;
}

void ImageCache::insert(const QString &key, const QImage &image)
{
    if (const auto found = m_index.constFind(key); found != m_index.cend()) {
        m_bytes -= (*found)->image.sizeInBytes();
        m_entries.erase(*found);
    }
    m_entries.push_front({key, image});
    m_index.insert(key, m_entries.begin());
    m_bytes += image.sizeInBytes();
    evictToLimits();
}

void ImageCache::evictToLimits()
{
    while (m_entries.size() > 1 && (int(m_entries.size()) > m_countLimit || m_bytes > m_byteLimit)) {
        m_bytes -= m_entries.back().image.sizeInBytes();
        m_index.remove(m_entries.back().key);
        m_entries.pop_back();
    }
}
