#include "PostAvatar.h"

#include "AuthorIcon.h"
#include "PaintFilling.h"
#include "PlatformBadge.h"
#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

PostAvatar::PostAvatar(const QString &url, Platform platform, QWidget *parent)
    : QWidget(parent), m_platform(platform), m_image(AuthorIcon::cache().cached(url))
{
    setFixedSize(size, size);
    if (!m_image.isNull() || url.isEmpty())
        return;
    QCoro::connect(AuthorIcon::fetch(url), this, [this](const QImage &image) {
        m_image = image;
        update();
    });
}

void PostAvatar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QRectF disc(rect());
    QPainterPath circle;
    circle.addEllipse(disc);
    painter.setClipPath(circle);
    if (!m_image.isNull()) {
        paintFilling(painter, disc, m_image);
        return;
    }
    painter.fillRect(disc, Theme::placeholder().resolved());
    QRectF badge(0, 0, badgeSize, badgeSize);
    badge.moveCenter(disc.center());
    PlatformBadge::paint(painter, m_platform, badge);
}
