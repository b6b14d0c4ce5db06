#pragma once

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QHash>
#include <QImage>
#include <QString>
#include <list>
#include <memory>

class Media;

// Decoded media images kept in memory, keyed by item, size and byte count,
// so a new download gets a new key. Decoding happens in a worker thread at a
// capped size; the cache itself is used on the main thread only. The least
// recently used images go first when the count or the byte budget is full.
class ImageCache {
public:
    enum class Size { thumb, full };

    static constexpr int thumbPixels = 720;
    static constexpr int fullPixels = 3200;
    static constexpr int defaultCountLimit = 500;
    static constexpr qint64 defaultByteLimit = 384ll * 1024 * 1024;
    // Images declaring more pixels than this are not decoded at all.
    static constexpr qint64 maxSourcePixels = 200'000'000;

    explicit ImageCache(int countLimit = defaultCountLimit, qint64 byteLimit = defaultByteLimit);

    // The application's one cache.
    static ImageCache &shared();

    // "<UPPER-CASE UUID>-<t|f>-<data size>".
    static QString key(const Media &media, Size size);
    static int maxPixel(Size size) { return size == Size::thumb ? thumbPixels : fullPixels; }
    // The image scaled down (never up) so its longer side is at most
    // maxPixel, turned upright; null when the bytes are no image or declare
    // an absurd size.
    static QImage decode(const QByteArray &data, int maxPixel);

    // The cached image, or the item's stored bytes decoded off the main
    // thread and cached. For full the downloaded bytes, else the thumbnail;
    // null for no bytes and for bytes that do not decode (the thumbnail is
    // not tried then). For thumb the thumbnail; one that is missing or does
    // not decode is made again from the downloaded bytes and stored. Null
    // for an item that left the store.
    QCoro::Task<QImage> load(std::shared_ptr<Media> media, Size size);

    // Null when not cached; marks the image as recently used.
    QImage cached(const QString &key);
    void insert(const QString &key, const QImage &image);
    int count() const { return int(m_entries.size()); }
    qint64 bytes() const { return m_bytes; }

private:
    struct Entry {
        QString key;
        QImage image;
    };

    void evictToLimits();

    int m_countLimit;
    qint64 m_byteLimit;
    qint64 m_bytes = 0;
    std::list<Entry> m_entries; // most recently used first
    QHash<QString, std::list<Entry>::iterator> m_index;
};
