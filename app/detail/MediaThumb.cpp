#include "MediaThumb.h"

#include "ImageCache.h"
#include "MediaImage.h"
#include "Theme.h"

#include <QPainter>

namespace {

constexpr int ring = 3;

} // namespace

MediaThumb::MediaThumb(std::shared_ptr<Media> media, QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(side, side);
    auto *image = new MediaImage(this);
    image->setFit(false);
    image->setGeometry(rect().adjusted(ring, ring, -ring, -ring));
    // Clicks go to the button, not the picture on it.
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    image->setMedia(std::move(media), ImageCache::Size::thumb);
}

void MediaThumb::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? Theme::accent().resolved() : Theme::placeholder().resolved());
    painter.drawRoundedRect(rect(), 6, 6);
}
