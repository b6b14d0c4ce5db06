#pragma once

#include "FocusTilt.h"
#include "TiltHover.h"
#include "ImageCache.h"
#include "Platform.h"

#include <QCoro/QCoroTask>
#include <QImage>
#include <QWidget>
#include <optional>

// A round author avatar fetched from its link, or the platform's badge while
// it loads, when it fails and when there is no link. Avatars are fetched
// only over http and https, capped in size, and kept by link for the whole
// application.
class AuthorIcon : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 maxAvatarBytes = 2 * 1024 * 1024;
    static constexpr int decodePixels = 256;

    AuthorIcon(const QString &url, Platform platform, int size, QWidget *parent = nullptr);

    // Avatars by link.
    static ImageCache &cache();
    // The decoded avatar, or null when the link is no web link, the fetch
    // fails or the bytes are no picture.
    static QCoro::Task<QImage> fetch(QString url);

    QString url() const { return m_url; }
    QImage image() const { return m_image; }
    // Makes the avatar lean towards the pointer.
    void setTilt(const FocusTilt &tilt);
    // Without a picture, shows the platform's badge `badgeSize` across on a
    // disc of the placeholder colour, instead of the badge filling the avatar.
    void setPlaceholderDisc(qreal badgeSize);
    QSize sizeHint() const override { return {m_size, m_size}; }

signals:
    void imageLoaded();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap picture() const;

    QString m_url;
    Platform m_platform;
    int m_size;
    QImage m_image;
    std::optional<FocusTilt> m_tilt;
    std::optional<qreal> m_discBadge;
    TiltHover m_hover;
};
