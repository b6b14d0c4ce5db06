#include "PlayerControls.h"

#include "Symbol.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QSlider>
#include <QToolButton>

namespace {

const QColor glyphColor(0x14, 0x14, 0x13);

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
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("PlayerControls { background: rgba(255,255,255,215); border-radius: 10px; }"));
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
        showFullScreen(false);
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
    showState();
    showPosition();
}

void PlayerControls::showState()
{
    const bool playing = m_player.playbackState() == QMediaPlayer::PlayingState;
    m_toggle->setIcon(Symbol::pixmap(playing ? QStringLiteral("pause.fill") : QStringLiteral("play.fill"), 18,
                                     glyphColor, 1, devicePixelRatioF()));
    m_toggle->setToolTip(playing ? tr("暂停") : tr("播放"));
}

void PlayerControls::showFullScreen(bool on)
{
    m_fullScreen->setIcon(Symbol::pixmap(on ? QStringLiteral("arrow.down.right.and.arrow.up.left")
                                            : QStringLiteral("arrow.up.left.and.arrow.down.right"),
                                         16, glyphColor, 1.3, devicePixelRatioF()));
    m_fullScreen->setToolTip(on ? tr("退出全屏") : tr("全屏"));
}

void PlayerControls::showPosition()
{
    m_position->setRange(0, int(m_player.duration()));
    if (!m_position->isSliderDown())
        m_position->setValue(int(m_player.position()));
    m_time->setText(clock(m_player.position()) + QStringLiteral(" / ") + clock(m_player.duration()));
}
