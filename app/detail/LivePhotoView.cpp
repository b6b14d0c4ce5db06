#include "LivePhotoView.h"

#include "Media.h"
#include "MediaImage.h"
#include "Motion.h"
#include "PlayerSource.h"
#include "PlayerView.h"
#include "StillImage.h"
#include "Symbol.h"
#include "Theme.h"
#include "Typography.h"
#include "UserDefaults.h"

#include <QGraphicsOpacityEffect>
#include <QMouseEvent>
#include <QShowEvent>
#include <QToolButton>

namespace {

constexpr int badgeMargin = 10;
constexpr int speakerSide = 28;
constexpr int badgeRadius = 11;
constexpr qreal fadeSeconds = 0.2;
// How far the badge dims while the clip shows.
constexpr qreal badgeDimming = 0.5;

bool soundOn()
{
    return UserDefaults::standard().boolObject(LivePhotoView::soundKey, false);
}

// The content's colour on a badge at that opacity.
QColor glyphColor(const QPalette &palette, qreal opacity = 1)
{
    QColor glyph = Theme::text().resolved(palette);
    glyph.setAlphaF(opacity);
    return glyph;
}

// A translucent capsule of the appearance's material behind the button's content.
QString capsuleStyle(const QPalette &palette, qreal opacity, int radius, const QString &padding)
{
    QColor fill = Theme::material().resolved(palette);
    fill.setAlpha(qRound(190 * opacity));
    return QStringLiteral("QToolButton { background: %1; color: %2; border: none;"
                          " border-radius: %3px; padding: %4; }")
        .arg(fill.name(QColor::HexArgb), glyphColor(palette, opacity).name(QColor::HexArgb))
        .arg(radius)
        .arg(padding);
}

} // namespace

const QString LivePhotoView::soundKey = QStringLiteral("liveSound");

LivePhotoView::LivePhotoView(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent)
    : MediaItemView(media, isCurrent, parent), m_still(new StillImage(media, isCurrent, this)),
      m_shown(new Motion(Motion::Curve::easeInOut(fadeSeconds), 0.0, this)), m_badge(new QToolButton(this)),
      m_speaker(new QToolButton(this))
{
    connect(m_still->image(), &MediaImage::imageLoaded, this, &LivePhotoView::placeBadges);
    // The clip fades in over the still and out again, and the badge dims and brightens with it.
    connect(m_shown, &Motion::valueChanged, this, &LivePhotoView::showClip);

    m_badge->setObjectName(QStringLiteral("liveBadge"));
    m_badge->setText(QStringLiteral("LIVE"));
    m_badge->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_badge->setFont(Typography::caption(font(), QFont::Bold));
    m_badge->setToolTip(tr("鼠标移到照片上播放"));
    // Like the pane's other controls, the badge and the speaker leave the keys to the screen.
    m_badge->setFocusPolicy(Qt::NoFocus);
    showBadge(1);
    connect(m_badge, &QToolButton::clicked, this, &LivePhotoView::play);

    m_speaker->setObjectName(QStringLiteral("liveSpeaker"));
    m_speaker->setFixedSize(speakerSide, speakerSide);
    m_speaker->setIconSize(QSize(14, 14));
    m_speaker->setFocusPolicy(Qt::NoFocus);
    m_speaker->hide();
    connect(m_speaker, &QToolButton::clicked, this, &LivePhotoView::toggleSound);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString &key) {
        if (key == soundKey)
            showSound();
    });
    showSound();
    Theme::followPalette(this, [this] { showColours(); });
    // The pointer's moves over the still come here, to tell the picture from the bands beside it.
    m_still->setAttribute(Qt::WA_TransparentForMouseEvents);
    setMouseTracking(true);
}

void LivePhotoView::showEvent(QShowEvent *event)
{
    MediaItemView::showEvent(event);
    showColours();
    if (!m_tried)
        makePlayer();
    // A window restored from the taskbar shows its pages again: that is no
    // new appearance of the photo, so its clip is not played once more.
    if (!event->spontaneous())
        play();
}

void LivePhotoView::hideEvent(QHideEvent *event)
{
    stop();
    MediaItemView::hideEvent(event);
}

void LivePhotoView::enterEvent(QEnterEvent *event)
{
    MediaItemView::enterEvent(event);
    m_pointerOnPicture = false;
    hover(event->position().toPoint());
}

void LivePhotoView::mouseMoveEvent(QMouseEvent *event)
{
    MediaItemView::mouseMoveEvent(event);
    hover(event->position().toPoint());
}

void LivePhotoView::leaveEvent(QEvent *event)
{
    MediaItemView::leaveEvent(event);
    m_pointerOnPicture = false;
    stop();
}

// Only the picture plays the clip: the empty bands beside a fitted portrait do not.
void LivePhotoView::hover(const QPoint &pointer)
{
    const bool onPicture = pictureRect().contains(pointer);
    if (onPicture == m_pointerOnPicture)
        return;
    m_pointerOnPicture = onPicture;
    if (onPicture)
        play();
    else
        stop();
}

void LivePhotoView::resizeEvent(QResizeEvent *event)
{
    MediaItemView::resizeEvent(event);
    m_still->setGeometry(rect());
    if (m_player)
        m_player->setGeometry(rect());
    placeBadges();
}

void LivePhotoView::currentChanged()
{
    if (isCurrent())
        play();
    else
        stop();
}

void LivePhotoView::makePlayer()
{
    m_tried = true;
    std::unique_ptr<PlayerSource> source = PlayerSource::make(*media());
    if (!source)
        return;
    m_player = new PlayerView(std::move(source), PlayerView::Style::bare, this);
    m_player->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_player->setGeometry(rect());
    auto *fade = new QGraphicsOpacityEffect(m_player);
    fade->setOpacity(m_shown->value().toReal());
    m_player->setGraphicsEffect(fade);
    m_player->show();
    m_badge->raise();
    m_speaker->raise();
    QMediaPlayer &player = m_player->player();
    connect(&player, &QMediaPlayer::hasAudioChanged, this, &LivePhotoView::showSound);
    connect(&player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia)
            setPlaying(false);
    });
    connect(m_player, &PlayerView::failed, this, [this] { setPlaying(false); });
    showSound();
}

void LivePhotoView::play()
{
    if (!isCurrent() || !m_player || m_player->hasFailed() || m_playing)
        return;
    m_player->player().setPosition(0);
    m_player->player().play();
    setPlaying(true);
}

qreal LivePhotoView::clipOpacity() const
{
    return m_player ? static_cast<QGraphicsOpacityEffect *>(m_player->graphicsEffect())->opacity() : 0;
}

void LivePhotoView::stop()
{
    if (m_player)
        m_player->player().pause();
    setPlaying(false);
}

void LivePhotoView::setPlaying(bool playing)
{
    m_playing = playing;
    m_shown->animateTo(playing ? 1.0 : 0.0);
}

void LivePhotoView::showClip()
{
    const qreal amount = m_shown->value().toReal();
    if (m_player)
        static_cast<QGraphicsOpacityEffect *>(m_player->graphicsEffect())->setOpacity(amount);
    showBadge(1 - badgeDimming * amount);
}

// The badge's colours fade rather than the widget, so no second opacity
// effect is stacked over the fading clip.
void LivePhotoView::showBadge(qreal opacity)
{
    const QPalette &scheme = window()->palette();
    m_badge->setIcon(Symbol::pixmap(QStringLiteral("livephoto"), 14, glyphColor(scheme, opacity), 1.6,
                                    devicePixelRatioF()));
    m_badge->setStyleSheet(capsuleStyle(scheme, opacity, badgeRadius, QStringLiteral("4px 8px")));
}

// The window's appearance decides, not the tint a stage lays under the photo.
void LivePhotoView::showColours()
{
    showClip();
    showSound();
}

void LivePhotoView::toggleSound()
{
    const bool sound = !soundOn();
    UserDefaults::standard().setBool(soundKey, sound);
    // Turning sound on replays a clip that is not running; off lets it go on silently.
    if (sound)
        play();
}

// Mutes the clip as the setting says and shows the speaker for a clip with sound.
void LivePhotoView::showSound()
{
    const bool sound = soundOn();
    const QPalette &scheme = window()->palette();
    m_speaker->setIcon(
        Symbol::pixmap(sound ? QStringLiteral("speaker.wave.2.fill") : QStringLiteral("speaker.slash.fill"),
                       14, glyphColor(scheme), 1.3, devicePixelRatioF()));
    m_speaker->setStyleSheet(capsuleStyle(scheme, 1, speakerSide / 2, QStringLiteral("0")));
    m_speaker->setToolTip(sound ? tr("关闭实况声音") : tr("打开实况声音"));
    if (!m_player)
        return;
    m_player->audioOutput().setMuted(!sound);
    m_speaker->setVisible(m_player->player().hasAudio());
}

// The fitted picture, so the badges sit on its corners rather than the page's.
QRect LivePhotoView::pictureRect() const
{
    const QImage image = m_still->image()->image();
    const double ratio = !image.isNull() && image.height() > 0 ? double(image.width()) / image.height()
                                                               : media()->aspectRatio();
    const QSize fitted = QSizeF(ratio * 1000, 1000).toSize().scaled(size(), Qt::KeepAspectRatio);
    QRect picture(QPoint(), fitted);
    picture.moveCenter(rect().center());
    return picture;
}

void LivePhotoView::placeBadges()
{
    const QRect picture = pictureRect();
    m_badge->adjustSize();
    m_badge->move(picture.topLeft() + QPoint(badgeMargin, badgeMargin));
    m_speaker->move(picture.bottomRight() - QPoint(badgeMargin + speakerSide, badgeMargin + speakerSide));
}
