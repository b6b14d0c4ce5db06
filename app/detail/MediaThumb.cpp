#include "MediaThumb.h"

#include "ImageCache.h"
#include "Media.h"
#include "MediaImage.h"
#include "Symbol.h"
#include "Theme.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal radius = 6;
constexpr qreal ringWidth = 2.5;
constexpr int glyphSize = 13;

QString glyphOf(const Media &media)
{
    if (!media.hasVideo())
        return {};
    switch (media.kind()) {
    case MediaKind::livePhoto: return QStringLiteral("livephoto");
    case MediaKind::audio: return QStringLiteral("music.note");
    default: return QStringLiteral("play.fill");
    }
}

QPainterPath rounded(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Drawn over the picture: the glyph and, for the current item, the ring.
class ThumbOverlay : public QWidget {
public:
    ThumbOverlay(MediaThumb *thumb) : QWidget(thumb), m_thumb(thumb)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (!m_thumb->glyph().isEmpty()) {
            QRectF glyph(0, 0, glyphSize, glyphSize);
            glyph.moveCenter(QRectF(rect()).center());
            // A soft dark edge keeps the white glyph readable on a pale picture.
            for (const QPointF &offset :
                 {QPointF(-0.7, 0), QPointF(0.7, 0), QPointF(0, -0.7), QPointF(0, 0.7)})
                Symbol::paint(painter, m_thumb->glyph(), glyph.translated(offset), QColor(0, 0, 0, 84));
            Symbol::paint(painter, m_thumb->glyph(), glyph, Qt::white);
        }
        if (m_thumb->isChecked()) {
            painter.setPen(QPen(Theme::accent().resolved(), ringWidth));
            painter.setBrush(Qt::NoBrush);
            const qreal inset = ringWidth / 2;
            painter.drawPath(rounded(QRectF(rect()).adjusted(inset, inset, -inset, -inset)));
        }
    }

private:
    MediaThumb *m_thumb;
};

} // namespace

MediaThumb::MediaThumb(std::shared_ptr<Media> media, QWidget *parent)
    : QAbstractButton(parent), m_glyph(glyphOf(*media))
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(side, side);
    auto *image = new MediaImage(this);
    image->setFit(false);
    image->setGeometry(rect());
    image->setMask(rounded(rect()).toFillPolygon().toPolygon());
    // Clicks go to the button, not the picture on it.
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    image->setMedia(std::move(media), ImageCache::Size::thumb);
    (new ThumbOverlay(this))->setGeometry(rect());
    setGraphicsEffect(new QGraphicsOpacityEffect(this));
    connect(this, &QAbstractButton::toggled, this, &MediaThumb::showChecked);
    showChecked(false);
}

qreal MediaThumb::opacity() const
{
    return static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->opacity();
}

void MediaThumb::showChecked(bool checked)
{
    static_cast<QGraphicsOpacityEffect *>(graphicsEffect())->setOpacity(checked ? 1 : fadedOpacity);
    update();
}

void MediaThumb::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Theme::placeholder().resolved());
    painter.drawPath(rounded(rect()));
}
