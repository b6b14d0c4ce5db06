#include "PlayerItemView.h"

#include "PageCounter.h"
#include "PlayerControls.h"
#include "PlayerSource.h"
#include "PlayerView.h"
#include "StillImage.h"

#include <QGraphicsDropShadowEffect>
#include <QGridLayout>

namespace {

constexpr int coverSide = 520;
constexpr int audioPadding = 24;
constexpr int coverRadius = 14;

} // namespace

PlayerItemView::PlayerItemView(std::shared_ptr<Media> media, bool isCurrent, bool audio, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_audio(audio), m_still(new StillImage(media, isCurrent)),
      m_layout(new QGridLayout(this))
{
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
}

void PlayerItemView::showEvent(QShowEvent *event)
{
    MediaItemView::showEvent(event);
    if (!m_tried)
        makePlayer();
}

void PlayerItemView::resizeEvent(QResizeEvent *event)
{
    MediaItemView::resizeEvent(event);
    placeColumn();
}

// A song's cover and bar share one column, centred in the page and at most
// as wide as the cover, which stays within a square of `coverSide`. The
// column keeps above the stage's page counter, shrinking the cover when the
// page is short.
void PlayerItemView::placeColumn()
{
    if (!m_audio)
        return;
    const int bar = m_player ? m_layout->verticalSpacing() + PlayerControls::barHeight : 0;
    const int bottom = std::max(audioPadding, PageCounter::reach(font()));
    const QSize room = size().shrunkBy(QMargins(audioPadding, audioPadding, audioPadding, bottom));
    const QSize column(std::clamp(room.width(), 0, coverSide),
                       std::clamp(room.height() - bar, 0, coverSide) + bar);
    const int left = (width() - column.width()) / 2;
    const int top = std::min((height() - column.height()) / 2, height() - bottom - column.height());
    m_layout->setContentsMargins(left, top, width() - left - column.width(),
                                 height() - top - column.height());
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
        placeColumn();
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
