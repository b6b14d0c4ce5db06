#include "StillImage.h"

#include "Media.h"
#include "MediaImage.h"
#include "Typography.h"

#include <QGridLayout>
#include <QLabel>

StillImage::StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_image(new MediaImage),
      m_downloading(new QLabel(tr("正在下载…")))
{
    m_downloading->setObjectName(QStringLiteral("downloadingNote"));
    m_downloading->setFont(Typography::caption(font()));
    m_downloading->setAlignment(Qt::AlignCenter);
    m_downloading->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_image, 0, 0);
    layout->addWidget(m_downloading, 0, 0);
    // The picture is loaded again when its download lands.
    connect(m_image, &MediaImage::imageLoaded, this, &StillImage::showDownloading);
    m_image->setMedia(std::move(media), ImageCache::Size::full);
    showDownloading();
}

bool StillImage::isDownloading() const
{
    return m_downloading->isVisibleTo(this);
}

void StillImage::showDownloading()
{
    m_downloading->setVisible(m_image->image().isNull() && media()->needsImageDownload());
}
