#include "PlayerControls.h"

#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QPainter>
#include <QSlider>
#include <QToolButton>

namespace {

constexpr qreal cornerRadius = 10;

QString clock(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PlayerControls::PlayerControls(QMediaPlayer &player, bool withFullScreen, QWidget *parent)
    : QWidget(parent), m_player(player), m_toggle(new QToolButton), m_position(new QSlider(Qt::Horizontal)),
      m_time(new QLabel)
{
    setFixedHeight(barHeight);
    m_toggle->setObjectName(QStringLiteral("playPause"));
    m_toggle->setAutoRaise(true);
    m_toggle->setIconSize(QSize(18, 18));
    m_toggle->setFocusPolicy(Qt::NoFocus);
    m_position->setObjectName(QStringLiteral("playPosition"));
    m_position->setFocusPolicy(Qt::NoFocus);
    m_time->setFont(Typography::caption(font(), QFont::Medium));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 12, 0);
    layout->addWidget(m_toggle);
    layout->addWidget(m_position, 1);
    layout->addWidget(m_time);
    if (withFullScreen) {
        m_fullScreen = new QToolButton;
        m_fullScreen->setObjectName(QStringLiteral("fullScreen"));
        m_fullScreen->setAutoRaise(true);
        m_fullScreen->setIconSize(QSize(16, 16));
        m_fullScreen->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(m_fullScreen);
        connect(m_fullScreen, &QToolButton::clicked, this, &PlayerControls::fullScreenToggled);
    }

    connect(m_toggle, &QToolButton::clicked, this, [this] {
        if (m_player.playbackState() == QMediaPlayer::PlayingState)
            m_player.pause();
        else
            m_player.play();
    });
    connect(m_position, &QSlider::sliderMoved, &m_player, &QMediaPlayer::setPosition);
    connect(&m_player, &QMediaPlayer::playbackStateChanged, this, &PlayerControls::showState);
    connect(&m_player, &QMediaPlayer::positionChanged, this, &PlayerControls::showPosition);
    connect(&m_player, &QMediaPlayer::durationChanged, this, &PlayerControls::showPosition);
    Theme::paintAndFollow(this, [this] { showColours(); });
    showPosition();
}

// The window's palette rather than the bar's own: a stage may lay a tint of
// its own under the bar, and a preview or full screen is dark whatever the
// appearance.
QPalette PlayerControls::scheme() const
{
    return window()->palette();
}

void PlayerControls::showColours()
{
    QPalette text = m_time->palette();
    text.setColor(QPalette::WindowText, Theme::text().resolved(scheme()));
    m_time->setPalette(text);
    showState();
    if (m_fullScreen)
        showFullScreen(m_fullScreenOn);
    update();
}

void PlayerControls::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showColours();
}

void PlayerControls::paintEvent(QPaintEvent *)
{
    QColor fill = Theme::material().resolved(scheme());
    fill.setAlpha(215);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
}

void PlayerControls::showState()
{
    const bool playing = m_player.playbackState() == QMediaPlayer::PlayingState;
    m_toggle->setIcon(Symbol::pixmap(playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"), 18,
                                     Theme::text().resolved(scheme()), 1, devicePixelRatioF()));
    m_toggle->setToolTip(playing ? tr("暂停") : tr("播放"));
}

void PlayerControls::showFullScreen(bool on)
{
    m_fullScreenOn = on;
    m_fullScreen->setIcon(Symbol::pixmap(on ? QStringLiteral("arrow.down.right.and.arrow.up.left")
                                            : QStringLiteral("arrow.up.left.and.arrow.down.right"),
                                         16, Theme::text().resolved(scheme()), 1.3, devicePixelRatioF()));
    m_fullScreen->setToolTip(on ? tr("退出全屏") : tr("全屏"));
}

void PlayerControls::showPosition()
{
    m_position->setRange(0, int(m_player.duration()));
    if (!m_position->isSliderDown())
        m_position->setValue(int(m_player.position()));
    m_time->setText(clock(m_player.position()) + QStringLiteral(" / ") + clock(m_player.duration()));
}
