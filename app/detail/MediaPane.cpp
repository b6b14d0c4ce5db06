#include "MediaPane.h"

#include "Media.h"
#include "MediaDragSource.h"
#include "MediaExport.h"
#include "MediaPages.h"
#include "MediaThumb.h"
#include "PageCounter.h"
#include "PlayerView.h"
#include "SwipeCatcher.h"
#include "Symbol.h"
#include "Theme.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QScrollBar>
#include <QScrollArea>
#include <QToolButton>
#include <QTransform>
#include <QVBoxLayout>

namespace {

constexpr int arrowSize = 40;
constexpr int arrowPadding = 14;
constexpr int stripPaddingX = 12;
constexpr int stripPaddingY = 10;
constexpr int stripScrollMilliseconds = 320;

// The strip's bar: a shade lighter than the page in light, a shade darker in dark.
const QColor lightBar(0xFE, 0xFE, 0xFD);
const QColor darkBar(0x1E, 0x1E, 0x1C);

QPixmap chevron(bool right, const QColor &color)
{
    const QPixmap left = Symbol::pixmap(QStringLiteral("chevron.left"), 18, color, 1.3, 2);
    return right ? left.transformed(QTransform::fromScale(-1, 1)) : left;
}

} // namespace

MediaPane::MediaPane(QWidget *parent)
    : QWidget(parent), m_pages(new MediaPages), m_left(makeArrow(-1)), m_right(makeArrow(+1)),
      m_counter(new PageCounter), m_strip(new QScrollArea), m_thumbs(new QHBoxLayout)
{
    setObjectName(QStringLiteral("MediaPane"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeStage(), 1);
    layout->addWidget(makeStrip());
    Theme::paintAndFollow(this, [this] { applyAppearance(); });
    showCurrent();
}

// The arrows and the strip's bar are coloured here, again after each change of appearance.
void MediaPane::applyAppearance()
{
    const QColor fill = PageCounter::fill();
    for (QToolButton *arrow : {m_left, m_right}) {
        arrow->setIcon(chevron(arrow == m_right, PageCounter::ink()));
        arrow->setStyleSheet(
            QStringLiteral("QToolButton { background: %1; border: none; border-radius: %2px; }")
                .arg(fill.name(QColor::HexArgb))
                .arg(arrowSize / 2));
    }
    QPalette bar = m_strip->palette();
    bar.setColor(QPalette::Window, Theme::isDark(QGuiApplication::palette()) ? darkBar : lightBar);
    m_strip->setPalette(bar);
}

QWidget *MediaPane::makeStage()
{
    auto *stage = new QWidget;
    m_stage = stage;
    stage->setObjectName(QStringLiteral("mediaStage"));
    connect(new SwipeCatcher(stage), &SwipeCatcher::swiped, this, &MediaPane::go);
    m_stageDrag = new MediaDragSource(stage);
    stage->setAutoFillBackground(true);
    QPalette backdrop = stage->palette();
    backdrop.setColor(QPalette::Window, QColor(0, 0, 0, 10));
    stage->setPalette(backdrop);

    m_left->setObjectName(QStringLiteral("previousMedia"));
    m_right->setObjectName(QStringLiteral("nextMedia"));
    m_counter->setObjectName(QStringLiteral("mediaCounter"));
    m_counter->setFont(PageCounter::textFont(font()));

    // The arrows and the counter float over the picture in one grid cell.
    auto *arrows = new QHBoxLayout;
    arrows->setContentsMargins(arrowPadding, arrowPadding, arrowPadding, arrowPadding);
    arrows->addWidget(m_left);
    arrows->addStretch();
    arrows->addWidget(m_right);
    auto *grid = new QGridLayout(stage);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_pages, 0, 0);
    grid->addLayout(arrows, 0, 0);
    m_counterRow = new QVBoxLayout;
    m_counterRow->addStretch();
    m_counterRow->addWidget(m_counter, 0, Qt::AlignHCenter);
    grid->addLayout(m_counterRow, 0, 0);
    return stage;
}

QScrollArea *MediaPane::makeStrip()
{
    auto *row = new QWidget;
    row->setLayout(m_thumbs);
    m_thumbs->setContentsMargins(stripPaddingX, stripPaddingY, stripPaddingX, stripPaddingY);
    m_thumbs->setSpacing(6);
    m_strip->setObjectName(QStringLiteral("mediaStrip"));
    m_strip->setWidget(row);
    m_strip->setWidgetResizable(true);
    m_strip->setFrameShape(QFrame::NoFrame);
    // The bar is the strip's own background, showing through its viewport and row.
    m_strip->setAutoFillBackground(true);
    m_strip->viewport()->setAutoFillBackground(false);
    row->setAutoFillBackground(false);
    m_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A click on a thumbnail leaves the arrow keys to the screen's paging.
    m_strip->setFocusPolicy(Qt::NoFocus);
    m_strip->setFixedHeight(MediaThumb::side + 2 * stripPaddingY);
    m_stripScroll = new QPropertyAnimation(m_strip->horizontalScrollBar(), "value", this);
    m_stripScroll->setDuration(stripScrollMilliseconds);
    m_stripScroll->setEasingCurve(QEasingCurve::InOutQuad);
    return m_strip;
}

void MediaPane::fillStrip()
{
    while (QLayoutItem *item = m_thumbs->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < count(); ++i) {
        auto *thumb = new MediaThumb(m_media.at(i));
        connect(thumb, &MediaThumb::clicked, this, [this, i] { jump(i); });
        (new MediaDragSource(thumb))->setItem(m_media.at(i), MediaExport::itemName(m_fileName, i));
        m_thumbs->addWidget(thumb);
    }
    m_thumbs->addStretch();
    m_stripScroll->stop();
}

// The current thumbnail glides to the middle of the strip as far as the strip can scroll.
void MediaPane::centreCurrentThumb()
{
    QWidget *thumb = m_thumbs->itemAt(m_index)->widget();
    QScrollBar *bar = m_strip->horizontalScrollBar();
    const int target = std::clamp(thumb->geometry().center().x() - m_strip->viewport()->width() / 2,
                                  bar->minimum(), bar->maximum());
    m_stripScroll->stop();
    m_stripScroll->setStartValue(bar->value());
    m_stripScroll->setEndValue(target);
    m_stripScroll->start();
}

QToolButton *MediaPane::makeArrow(int step)
{
    auto *button = new QToolButton;
    button->setIconSize(QSize(18, 18));
    button->setFixedSize(arrowSize, arrowSize);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, step] { go(step); });
    return button;
}

void MediaPane::setMedia(const QList<std::shared_ptr<Media>> &media)
{
    const std::shared_ptr<Media> current = m_media.value(m_index);
    const int before = m_index;
    m_media = media;
    const qsizetype kept = current ? m_media.indexOf(current) : -1;
    m_index = kept >= 0 ? int(kept) : std::max(0, std::min(m_index, count() - 1));
    fillStrip();
    showCurrent();
    if (m_index != before)
        emit indexChanged(m_index);
}

void MediaPane::go(int step)
{
    const int next = m_index + step;
    if (next >= 0 && next < count())
        jump(next);
}

void MediaPane::jump(int index)
{
    if (index == m_index)
        return;
    m_index = index;
    showCurrent();
    centreCurrentThumb();
    emit indexChanged(m_index);
}

void MediaPane::showCurrent()
{
    const bool several = count() > 1;
    // A hidden arrow cannot be clicked, so the ends need no second check.
    m_left->setVisible(several && m_index > 0);
    m_right->setVisible(several && m_index < count() - 1);
    m_counter->setVisible(several);
    m_strip->setVisible(several);
    for (int i = 0; i < count(); ++i)
        static_cast<MediaThumb *>(m_thumbs->itemAt(i)->widget())->setChecked(i == m_index);
    m_counter->setPage(m_index, count());
    m_pages->setPages(m_media, m_index);
    if (m_media.isEmpty())
        return;
    const auto &current = m_media.at(m_index);
    // A video's control bar runs along the bottom of the stage: the counter sits above it.
    // A song's bar keeps above the counter itself.
    const bool videoBar = current->hasVideo() && current->kind() == MediaKind::video;
    const int lift = videoBar ? PlayerView::controlsReach : 0;
    const int margin = PageCounter::margin;
    m_counterRow->setContentsMargins(margin, margin, margin, margin + lift);
    // Moving pictures on the stage are for playing; their thumbnails drag them out.
    const bool still = current->kind() == MediaKind::image;
    m_stageDrag->setItem(still ? current : nullptr, MediaExport::itemName(m_fileName, m_index));
}
