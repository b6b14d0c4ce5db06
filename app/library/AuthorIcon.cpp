#include "AuthorIcon.h"

#include "NetworkError.h"
#include "NetworkSession.h"
#include "PaintFilling.h"
#include "PlatformBadge.h"
#include "Theme.h"

#include <QCoro/QCoroFuture>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtConcurrent>

namespace {

constexpr int avatarCountLimit = 300;
constexpr qint64 avatarByteLimit = 32ll * 1024 * 1024;
constexpr std::chrono::seconds avatarDeadline{20};
constexpr qreal tiltMargin = 6;

QFuture<QImage> startDecode(const QByteArray &bytes)
{
    return QtConcurrent::run(&ImageCache::decode, bytes, AuthorIcon::decodePixels);
}

} // namespace

AuthorIcon::AuthorIcon(const QString &url, Platform platform, int size, QWidget *parent)
    : QWidget(parent), m_url(url), m_platform(platform), m_size(size)
{
    setFixedSize(size, size);
    m_image = cache().cached(url);
    if (!m_image.isNull() || url.isEmpty())
        return;
    QCoro::connect(fetch(url), this, [this](const QImage &image) {
        m_image = image;
        update();
        emit imageLoaded();
    });
}

ImageCache &AuthorIcon::cache()
{
    static ImageCache avatars(avatarCountLimit, avatarByteLimit);
    return avatars;
}

QCoro::Task<QImage> AuthorIcon::fetch(QString url)
{
    const QUrl link(url, QUrl::StrictMode);
    if (!link.isValid() || !NetworkSession::isWebScheme(link))
        co_return QImage();
    if (QImage known = cache().cached(url); !known.isNull())
        co_return known;
    NetworkRequest request;
    request.url = link;
    request.bodyLimit = maxAvatarBytes;
    request.deadline = avatarDeadline;
    try {
        const NetworkResponse response = co_await NetworkSession::shared().send(request);
        if (response.statusCode != 200)
            co_return QImage();
        const QFuture<QImage> decoding = startDecode(response.body);
        const QImage image = co_await decoding;
        if (!image.isNull())
            cache().insert(url, image);
        co_return image;
    } catch (const NetworkError &) {
        co_return QImage();
    }
}

void AuthorIcon::setTilt(const FocusTilt &tilt)
{
    m_tilt = tilt;
    connect(&m_hover, &TiltHover::changed, this, qOverload<>(&QWidget::update), Qt::UniqueConnection);
    setMouseTracking(true);
    setFixedSize(m_size + int(2 * tiltMargin), m_size + int(2 * tiltMargin));
}

void AuthorIcon::setPlaceholderDisc(qreal badgeSize)
{
    m_discBadge = badgeSize;
    update();
}

QPixmap AuthorIcon::picture() const
{
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(m_size, m_size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF rect(0, 0, m_size, m_size);
    QPainterPath circle;
    circle.addEllipse(rect);
    painter.setClipPath(circle);
    if (m_image.isNull()) {
        if (m_discBadge)
            painter.fillRect(rect, Theme::placeholder().resolved());
        const qreal badge = m_discBadge.value_or(m_size * 0.55);
        PlatformBadge::paint(painter, m_platform,
                             QRectF(rect.center() - QPointF(badge / 2, badge / 2), QSizeF(badge, badge)));
    } else {
        paintFilling(painter, rect, m_image);
    }
    return pixmap;
}

void AuthorIcon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_tilt) {
        painter.drawPixmap(0, 0, picture());
        return;
    }
    m_tilt->paint(painter, QRectF(tiltMargin, tiltMargin, m_size, m_size), picture(), m_hover.point(),
                  m_hover.amount());
}

void AuthorIcon::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (m_tilt)
        m_hover.hover(event->position() - QPointF(tiltMargin, tiltMargin));
}

void AuthorIcon::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_hover.leave();
}
