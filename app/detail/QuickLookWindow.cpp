#include "QuickLookWindow.h"

#include "Media.h"
#include "MediaImage.h"
#include "PlayerControls.h"
#include "PlayerSource.h"
#include "PlayerView.h"
#include "Symbol.h"

#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QSize defaultSize(900, 640);
constexpr int margin = 16;
constexpr int glyphSize = 72;
constexpr int coverRadius = 14;

QString glyphFor(const QString &suffix)
{
    return suffix == QStringLiteral("mp3") ? QStringLiteral("music.note") : QStringLiteral("play.fill");
}

} // namespace

QuickLookWindow::QuickLookWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("QuickLookWindow"));
    // The screen below keeps the keyboard, so arrows and Space still reach it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(28, 28, 30));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    setPalette(dark);
    resize(defaultSize);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(14);
}

bool QuickLookWindow::plays(const Media &media)
{
    if (!media.videoDataFilePath())
        return false;
    // A live photo shows its still; only without one is its clip what there is to see.
    const MediaKind kind = media.kind();
    return kind == MediaKind::video || kind == MediaKind::audio ||
           (kind == MediaKind::livePhoto && !media.hasImageData());
}

void QuickLookWindow::showFile(const QString &path)
{
    clearPlayer();
    m_file = path;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    m_image = reader.read();
    setWindowTitle(QFileInfo(path).fileName());
    if (!m_image.isNull()) {
        const QSize room = screen() ? screen()->availableSize() * 0.8 : defaultSize;
        resize(m_image.size().boundedTo(room).expandedTo(QSize(320, 240)));
    }
    present();
}

void QuickLookWindow::showMedia(const std::shared_ptr<Media> &media, const QString &title)
{
    clearPlayer();
    m_image = {};
    m_file = media->videoDataFilePath().value_or(QString());
    setWindowTitle(title);
    std::unique_ptr<PlayerSource> source = PlayerSource::make(*media);
    if (!source) {
        present();
        return;
    }
    if (media->kind() == MediaKind::audio) {
        m_cover = new MediaImage;
        m_cover->setCornerRadius(coverRadius);
        m_cover->setMedia(media, ImageCache::Size::full);
        layout()->addWidget(m_cover);
        m_player = new PlayerView(std::move(source), PlayerView::Style::audio);
        m_player->setFixedHeight(PlayerControls::barHeight);
    } else {
        m_player = new PlayerView(std::move(source), PlayerView::Style::video);
    }
    layout()->addWidget(m_player);
    resize(defaultSize);
    present();
    m_player->player().play();
}

void QuickLookWindow::present()
{
    show();
    raise();
    update();
}

void QuickLookWindow::clearPlayer()
{
    delete m_player;
    m_player = nullptr;
    delete m_cover;
    m_cover = nullptr;
}

void QuickLookWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_player)
        return;
    if (m_image.isNull()) {
        paintFileName(painter);
        return;
    }
    const QSize fitted =
        m_image.size().scaled(rect().size() - QSize(2 * margin, 2 * margin), Qt::KeepAspectRatio);
    QRect target(QPoint(), fitted);
    target.moveCenter(rect().center());
    painter.drawImage(target, m_image);
}

void QuickLookWindow::paintFileName(QPainter &painter)
{
    const QFileInfo info(m_file);
    const QColor text = palette().color(QPalette::WindowText);
    QRectF glyph(0, 0, glyphSize, glyphSize);
    glyph.moveCenter(QPointF(rect().center()) - QPointF(0, glyphSize / 2.0));
    Symbol::paint(painter, glyphFor(info.suffix()), glyph, text);
    const QRect name(margin, int(glyph.bottom()) + margin, width() - 2 * margin, height());
    painter.setPen(text);
    painter.drawText(name, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, info.fileName());
}

void QuickLookWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void QuickLookWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    clearPlayer();
    emit closed();
}
