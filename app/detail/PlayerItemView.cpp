#include "PlayerItemView.h"

#include "MediaImage.h"
#include "PlayerControls.h"
#include "PlayerSource.h"
#include "PlayerView.h"

#include <QGraphicsDropShadowEffect>
#include <QGridLayout>

namespace {

constexpr int coverSide = 520;
constexpr int audioPadding = 24;
constexpr int coverRadius = 14;

} // namespace

PlayerItemView::PlayerItemView(std::shared_ptr<Media> media, bool isCurrent, bool audio, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_audio(audio), m_still(new MediaImage),
      m_layout(new QGridLayout(this))
{
    m_still->setMedia(std::move(media), ImageCache::Size::full);
    if (m_audio) {
        m_still->setCornerRadius(coverRadius);
        auto *shadow = new QGraphicsDropShadowEffect(m_still);
        shadow->setColor(QColor(0, 0, 0, 64));
        shadow->setBlurRadius(36);
        shadow->setOffset(0, 8);
        m_still->setGraphicsEffect(shadow);
        m_layout->setVerticalSpacing(14);
    } else {
        m_layout->setContentsMargins(0, 0, 0, 0);
    }
    m_layout->addWidget(m_still, 0, 0);
    m_layout->setRowStretch(0, 1);
}

void PlayerItemView::showEvent(QShowEvent *event)
{
    MediaItemView::showEvent(event);
    if (!m_tried)
        makePlayer();
}

// The cover and the bar share one centred column at most as wide as the cover.
void PlayerItemView::resizeEvent(QResizeEvent *event)
{
    MediaItemView::resizeEvent(event);
    if (!m_audio)
        return;
    const int side = std::max(audioPadding, (width() - coverSide) / 2);
    m_layout->setContentsMargins(side, audioPadding, side, audioPadding);
}

void PlayerItemView::hideEvent(QHideEvent *event)
{
    pause();
    MediaItemView::hideEvent(event);
}

void PlayerItemView::currentChanged()
{
    if (!isCurrent())
        pause();
}

void PlayerItemView::makePlayer()
{
    m_tried = true;
    std::unique_ptr<PlayerSource> source = PlayerSource::make(*media());
    if (!source)
        return;
    if (m_audio) {
        m_player = new PlayerView(std::move(source), PlayerView::Style::audio);
        m_player->setFixedHeight(PlayerControls::barHeight);
        m_layout->addWidget(m_player, 1, 0);
        return;
    }
    // The still stays under the player until the first frame takes its place.
    m_player = new PlayerView(std::move(source), PlayerView::Style::video);
    m_layout->addWidget(m_player, 0, 0);
    connect(m_player, &PlayerView::framesStarted, m_still, &QWidget::hide);
}

void PlayerItemView::pause()
{
    if (m_player)
        m_player->player().pause();
}
