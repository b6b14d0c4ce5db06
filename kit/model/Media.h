#pragma once

#include "MediaKind.h"
#include "PersistentModel.h"

#include <QByteArray>
#include <QString>
#include <optional>

class Post;

// One image, video, live photo or audio item of a post at a place in its
// display order. The bytes, thumbnail and video bytes are kept in files
// outside the store's rows and read from them on each access.
class Media : public PersistentModel {
public:
    Media(MediaKind kind, qint64 order);

    static const EntityDescription &entityDescription();

    QString kindRaw() const { return m_kindRaw; }
    void setKindRaw(const QString &value) { write(m_kindRaw, value); }
    qint64 order() const { return m_order; }
    void setOrder(qint64 value) { write(m_order, value); }
    QString remoteURL() const { return deferred(m_remoteURL); }
    void setRemoteURL(const QString &value) { write(m_remoteURL, value); }
    QString videoRemoteURL() const { return deferred(m_videoRemoteURL); }
    void setVideoRemoteURL(const QString &value) { write(m_videoRemoteURL, value); }
    double width() const { return m_width; }
    void setWidth(double value) { write(m_width, value); }
    double height() const { return m_height; }
    void setHeight(double value) { write(m_height, value); }
    double duration() const { return m_duration; }
    void setDuration(double value) { write(m_duration, value); }
    // The byte fields read as none when their file is missing or shorter than
    // the recorded count, so the item is downloaded again.
    std::optional<QByteArray> data() const;
    void setData(const std::optional<QByteArray> &value);
    std::optional<QByteArray> thumbnail() const;
    void setThumbnail(const std::optional<QByteArray> &value);
    std::optional<QByteArray> videoData() const;
    void setVideoData(const std::optional<QByteArray> &value);
    qint64 dataSize() const { return m_dataSize; }
    void setDataSize(qint64 value) { write(m_dataSize, value); }
    qint64 videoSize() const { return m_videoSize; }
    void setVideoSize(qint64 value) { write(m_videoSize, value); }

    std::shared_ptr<Post> post() const;
    // Moves the item to another post's list (or out of any, for nothing).
    void setPost(const std::shared_ptr<Post> &post);

    // Read from and written to kindRaw; an unknown raw value reads as image.
    MediaKind kind() const;
    void setKind(MediaKind kind);

    // Width over height, or 1 when either is not positive.
    double aspectRatio() const;
    // Once the byte counts are recorded these read only the counts; before
    // that they test whether the bytes are there (without loading them).
    bool hasImageData() const;
    bool hasVideoData() const;
    bool needsImageDownload() const;
    // A video, live photo or audio item with a motion or sound link or bytes.
    bool hasVideo() const;
    bool needsVideoDownload() const;
    // The thumbnail kept beside a picture: a JPEG of at most 640 pixels on
    // its longer side; none when the bytes are no decodable image. Any thread.
    static std::optional<QByteArray> thumbnailOf(const QByteArray &picture);
    // Stores the picture's bytes with their thumbnail (none when the bytes
    // are no decodable image) and their count.
    void setImage(const std::optional<QByteArray> &data);
    void setVideo(const std::optional<QByteArray> &data);
    // As setImage and setVideo for a downloaded file, which is moved into
    // the store, never read into memory (the thumbnail decodes it mapped).
    // The record must be in a store's context. Throws StoreError when the
    // file cannot be moved; nothing changes then.
    void adoptImage(const QString &filePath);
    void adoptVideo(const QString &filePath);
    // The files holding the bytes, for work off the main thread (a file stays
    // readable once opened, even if a later save replaces it); none while the
    // bytes are unsaved, missing or cut short.
    std::optional<QString> dataFilePath() const;
    std::optional<QString> videoDataFilePath() const;

protected:
    explicit Media(Materializing);

private:
    // Whether the field's bytes are there with at least `recorded` of them.
    bool isWhole(int blob, qint64 recorded) const;
    std::optional<QByteArray> wholeBlob(int blob, qint64 recorded) const;
    std::optional<QString> wholeBlobPath(int blob, qint64 recorded) const;

    QString m_kindRaw = QStringLiteral("image");
    qint64 m_order = 0;
    QString m_remoteURL;
    QString m_videoRemoteURL;
    double m_width = 0;
    double m_height = 0;
    double m_duration = 0;
    qint64 m_dataSize = 0;
    qint64 m_videoSize = 0;
};
