#include "PlayerView.h"

#include "PlayerControls.h"
#include "PlayerSource.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

constexpr int barMargin = 12;

} // namespace

const int PlayerView::controlsReach = PlayerControls::barHeight + 2 * barMargin;

PlayerView::PlayerView(std::unique_ptr<PlayerSource> source, Style style, QWidget *parent)
    : QWidget(parent), m_source(std::move(source)), m_style(style),
      m_message(new QLabel(tr("无法播放这个文件")))
{
    setObjectName(QStringLiteral("PlayerView"));
    m_message->setObjectName(QStringLiteral("playerMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(style == Style::video ? QMargins(barMargin, barMargin, barMargin, barMargin)
                                                     : QMargins());
    layout->addWidget(m_message, 1);
    if (style != Style::bare) {
        m_controls = new PlayerControls(m_player, style == Style::video);
        layout->addWidget(m_controls, 0, style == Style::video ? Qt::AlignBottom : Qt::Alignment());
        connect(m_controls, &PlayerControls::fullScreenToggled, this,
                [this] { setFullScreen(!isFullScreen()); });
    }

    m_player.setAudioOutput(&m_audio);
    if (style != Style::audio) {
        m_player.setVideoOutput(&m_sink);
        connect(&m_sink, &QVideoSink::videoFrameChanged, this, &PlayerView::showFrame);
    }
    connect(&m_player, &QMediaPlayer::errorOccurred, this, &PlayerView::fail);
    connect(&m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::InvalidMedia)
            fail();
    });
    m_source->attach(m_player);
}

PlayerView::~PlayerView()
{
    // The controls and the page listen to the player, which goes before them.
    m_player.disconnect();
    m_player.stop();
}

void PlayerView::showFrame(const QVideoFrame &frame)
{
    if (!frame.isValid())
        return;
    const bool first = !m_frame.isValid();
    m_frame = frame;
    update(pictureArea());
    if (first)
        emit framesStarted();
}

void PlayerView::setFullScreen(bool on)
{
    if (on == isFullScreen() || m_style != Style::video)
        return;
    setWindowFlag(Qt::Window, on);
    if (on) {
        setAutoFillBackground(true);
        QPalette dark = palette();
        dark.setColor(QPalette::Window, Qt::black);
        setPalette(dark);
        showFullScreen();
        activateWindow();
    } else {
        setAutoFillBackground(false);
        setPalette({});
        showNormal();
    }
    m_controls->showFullScreen(on);
}

void PlayerView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        setFullScreen(false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void PlayerView::fail()
{
    if (m_failed)
        return;
    m_failed = true;
    m_frame = {};
    if (m_controls)
        m_controls->hide();
    // A live photo's clip that cannot play leaves its still alone.
    m_message->setVisible(m_style != Style::bare);
    update();
    emit failed();
}

QRect PlayerView::pictureArea() const
{
    if (m_style == Style::video)
        return rect().adjusted(0, 0, 0, -controlsReach);
    return rect();
}

void PlayerView::paintEvent(QPaintEvent *)
{
    if (!m_frame.isValid() || m_style == Style::audio)
        return;
    QImage image = m_frame.toImage();
    if (image.isNull())
        return;
    const QRect area = pictureArea();
    QSize fitted = image.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), fitted);
    target.moveCenter(area.center());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
}
