#include "StillImage.h"

#include "ImportProgress.h"
#include "Media.h"
#include "MediaImage.h"
#include "Post.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int placeholderGlyph = 64;
constexpr int busyBarWidth = 120;

QWidget *downloadingNote(const QFont &font)
{
    auto *note = new QWidget;
    note->setObjectName(QStringLiteral("downloadingNote"));
    auto *busy = new QProgressBar;
    busy->setObjectName(QStringLiteral("downloadingBar"));
    busy->setRange(0, 0); // no end known: a bar that only shows work going on
    busy->setTextVisible(false);
    busy->setFixedSize(busyBarWidth, 6);
    auto *text = new QLabel(StillImage::tr("正在下载…"));
    text->setFont(Typography::caption(font));
    text->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QVBoxLayout(note);
    layout->setSpacing(8);
    layout->addStretch();
    layout->addWidget(busy, 0, Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addStretch();
    return note;
}

} // namespace

StillImage::StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_thumbnail(new MediaImage), m_image(new MediaImage),
      m_downloading(downloadingNote(font()))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget *layer :
         {static_cast<QWidget *>(m_thumbnail), static_cast<QWidget *>(m_image), m_downloading})
        layout->addWidget(layer, 0, 0);
    // Each layer is loaded again when the item's download lands.
    for (MediaImage *image : {m_thumbnail, m_image})
        connect(image, &MediaImage::imageLoaded, this, &StillImage::showState);
    connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, this, &StillImage::showState);
    m_thumbnail->setMedia(media, ImageCache::Size::thumb);
    m_image->setMedia(std::move(media), ImageCache::Size::full);
    showState();
}

bool StillImage::isDownloading() const
{
    return m_downloading->isVisibleTo(this);
}

void StillImage::setCornerRadius(qreal radius)
{
    for (MediaImage *image : {m_thumbnail, m_image})
        image->setCornerRadius(radius);
}

bool StillImage::isFetching() const
{
    const auto post = media()->post();
    return post && media()->needsImageDownload() &&
           ImportProgress::shared().isDownloading(post->id(), media()->id());
}

void StillImage::showState()
{
    const bool full = !m_image->image().isNull();
    const bool fetching = !full && isFetching();
    m_downloading->setVisible(fetching);
    m_thumbnail->setVisible(!full && !fetching);
    update();
}

// With neither picture nor download there is at least a sign of one.
void StillImage::paintEvent(QPaintEvent *)
{
    if (!m_image->image().isNull() || !m_thumbnail->image().isNull() || isDownloading())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF glyph(0, 0, placeholderGlyph, placeholderGlyph);
    glyph.moveCenter(QRectF(rect()).center());
    Symbol::paint(painter, QStringLiteral("photo"), glyph, Theme::placeholder().resolved());
}
