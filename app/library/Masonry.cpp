#include "Masonry.h"

#include "Clock.h"
#include "ImportProgress.h"
#include "Media.h"
#include "Post.h"
#include "PostDrag.h"
#include "Theme.h"
#include "TiltHover.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {

constexpr int scrollIdleMs = 180;
constexpr int progressFrameMs = 33;
constexpr qreal minimumWindow = 300;

} // namespace

Masonry::Masonry(QWidget *parent, ImageCache &cache)
    : QAbstractScrollArea(parent), m_cache(cache), m_metrics(CardMetrics::measure(font())),
      m_hover(new MasonryHover(*this)), m_focus(new MasonryFocus(*this))
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setSingleStep(40);
    m_scrollIdle.setSingleShot(true);
    m_scrollIdle.setInterval(scrollIdleMs);
    connect(&m_scrollIdle, &QTimer::timeout, this, [this] { setScrolling(false); });
    m_progressTick.setInterval(progressFrameMs);
    connect(&m_progressTick, &QTimer::timeout, viewport(), qOverload<>(&QWidget::update));
    m_progressClock.start();
    connect(&m_glide, &Motion::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, this, [this] {
        updateProgressTimer();
        viewport()->update();
    });
}

int Masonry::columnCount(qreal width, qreal cardWidth, qreal spacing)
{
    return std::max(int((width - spacing) / (spacing + cardWidth)), 2);
}

Masonry::Layout Masonry::layout(const QList<std::shared_ptr<Post>> &posts, qreal width, int columns,
                                qreal spacing, const CardMetrics &metrics)
{
    const int count = std::max(columns, 2);
    const qreal column = std::max((std::max(width - 2 * spacing, 1.0) - spacing * (count - 1)) / count, 1.0);
    Layout result;
    result.frames.reserve(posts.size());
    result.columns.resize(count);
    QList<qreal> heights(count, 0);
    for (int index = 0; index < posts.size(); ++index) {
        const int shortest = int(std::min_element(heights.cbegin(), heights.cend()) - heights.cbegin());
        const qreal height = PostCard::height(*posts[index], column, metrics);
        result.frames.append(QRectF((spacing + column) * shortest, heights[shortest], column, height));
        result.columns[shortest].append(index);
        heights[shortest] += spacing + height;
    }
    result.height = std::max(*std::max_element(heights.cbegin(), heights.cend()) - spacing, 0.0);
    return result;
}

QList<int> Masonry::cardsIn(const Layout &layout, int column, qreal top, qreal bottom)
{
    const QList<int> &cards = layout.columns[column];
    // Cards of a column are stacked, so their bottoms rise with their index.
    auto first = std::partition_point(cards.cbegin(), cards.cend(),
                                      [&](int index) { return layout.frames[index].bottom() < top; });
    QList<int> result;
    for (auto it = first; it != cards.cend() && layout.frames[*it].top() <= bottom; ++it)
        result.append(*it);
    return result;
}

void Masonry::setPosts(const QList<std::shared_ptr<Post>> &posts)
{
    // The focus ring and the hover stay with their posts through a refresh.
    const QList<std::shared_ptr<Post>> before = std::exchange(m_posts, posts);
    const auto newIndex = [&](int index) { return index >= 0 ? int(m_posts.indexOf(before[index])) : -1; };
    m_focus->followPosts(newIndex);
    m_hover->followPosts(newIndex);
    m_pressed = -1;
    m_glide.stop();
    m_framesStale = true;
    relayout();
}

void Masonry::setCardWidth(qreal width)
{
    m_cardWidth = width;
    updateColumns();
}

void Masonry::setHeader(QWidget *header)
{
    if (m_header)
        m_header->removeEventFilter(this);
    m_header = header;
    if (header) {
        header->setParent(viewport());
        header->installEventFilter(this);
        header->show();
    }
    relayout();
}

bool Masonry::updateColumns()
{
    const int count = columnCount(width(), m_cardWidth, m_spacing);
    if (count == m_columns)
        return false;
    // Cards glide only from places the user has seen.
    const bool glide = m_painted && isVisible();
    Layout before = glide ? m_layout : Layout();
    m_columns = count;
    relayout();
    if (glide && before.frames.size() == m_layout.frames.size()) {
        m_glideFrom = std::move(before);
        m_glide.jumpTo(0.0);
        m_glide.animateTo(1.0);
    }
    return true;
}

QRectF Masonry::frame(int index) const
{
    settle();
    const QRectF &to = m_layout.frames[index];
    if (m_glide.state() != QAbstractAnimation::Running)
        return to;
    const QRectF &from = m_glideFrom.frames[index];
    const qreal t = m_glide.value().toReal();
    const auto mix = [t](qreal a, qreal b) { return a + (b - a) * t; };
    return {mix(from.x(), to.x()), mix(from.y(), to.y()), mix(from.width(), to.width()),
            mix(from.height(), to.height())};
}

qreal Masonry::headerHeight() const
{
    if (!m_header)
        return 0;
    const int width = std::max(int(viewport()->width() - 2 * m_spacing), 1);
    const int height =
        m_header->hasHeightForWidth() ? m_header->heightForWidth(width) : m_header->sizeHint().height();
    return std::max(height, 0);
}

qreal Masonry::cardAreaTop() const
{
    return (m_header ? headerHeight() + m_spacing : 0) + m_spacing;
}

void Masonry::relayout()
{
    m_layoutPending = !isVisible();
    if (!m_layoutPending)
        layOut();
    else
        m_mounted.clear(); // its indices may name posts no longer there
}

void Masonry::settle() const
{
    if (m_layoutPending)
        const_cast<Masonry *>(this)->layOut();
}

void Masonry::layOut()
{
    m_layoutPending = false;
    if (m_columns == 0)
        m_columns = columnCount(width(), m_cardWidth, m_spacing);
    if (m_framesStale || m_laidOutWidth != viewport()->width() || m_laidOutColumns != m_columns) {
        m_layout = layout(m_posts, viewport()->width(), m_columns, m_spacing, m_metrics);
        m_framesStale = false;
        m_laidOutWidth = viewport()->width();
        m_laidOutColumns = m_columns;
    }
    const int content = int(std::ceil(cardAreaTop() + m_layout.height + m_spacing));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(content - viewport()->height(), 0));
    placeHeader();
    updateMounted();
    updateProgressTimer();
    viewport()->update();
}

void Masonry::placeHeader()
{
    if (!m_header)
        return;
    m_header->setGeometry(int(m_spacing), int(m_spacing) - verticalScrollBar()->value(),
                          std::max(int(viewport()->width() - 2 * m_spacing), 1), int(headerHeight()));
}

QRectF Masonry::cardRect(int index) const
{
    return frame(index).translated(m_spacing, cardAreaTop() - verticalScrollBar()->value());
}

int Masonry::cardAt(const QPointF &point) const
{
    settle();
    const QPointF area = point - QPointF(m_spacing, cardAreaTop() - verticalScrollBar()->value());
    for (int column = 0; column < m_layout.columns.size(); ++column) {
        for (int index : cardsIn(m_layout, column, area.y(), area.y())) {
            if (m_layout.frames[index].contains(area) && !m_posts[index]->isGone())
                return index;
        }
    }
    return -1;
}

QList<int> Masonry::cardsInBand(qreal top, qreal bottom) const
{
    settle();
    QList<int> result;
    for (int column = 0; column < m_layout.columns.size(); ++column)
        result.append(cardsIn(m_layout, column, top, bottom));
    if (m_glide.state() == QAbstractAnimation::Running) {
        // Cards on their way may come from anywhere on the old layout.
        for (int column = 0; column < m_glideFrom.columns.size(); ++column)
            result.append(cardsIn(m_glideFrom, column, top, bottom));
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

void Masonry::updateMounted()
{
    const qreal height = std::max(qreal(viewport()->height()), minimumWindow);
    const qreal step = height / 4;
    // Quantised to quarter screens, so the bands move only now and then.
    const qreal windowTop = step * std::floor(verticalScrollBar()->value() / step);
    const qreal top = windowTop - cardAreaTop();
    QList<int> mounted = cardsInBand(top - height, top + 2 * height);
    for (int index : cardsInBand(top - 4 * height, top + 5 * height)) {
        if (m_alive.contains(m_posts[index]->id()) && !mounted.contains(index))
            mounted.append(index);
    }
    std::sort(mounted.begin(), mounted.end());
    if (mounted == m_mounted)
        return;
    m_mounted = mounted;
    m_alive.clear();
    for (int index : std::as_const(m_mounted)) {
        m_alive.insert(m_posts[index]->id());
        requestThumbnail(*m_posts[index]);
    }
}

void Masonry::requestThumbnail(const Post &post)
{
    const auto cover = post.cover();
    if (post.isGone() || !cover || cover->needsImageDownload())
        return;
    const QString key = ImageCache::key(*cover, ImageCache::Size::thumb);
    if (m_loading.contains(key) || m_undecodable.contains(key) || !m_cache.cached(key).isNull())
        return;
    m_loading.insert(key);
    QCoro::connect(m_cache.load(cover, ImageCache::Size::thumb), this, [this, key](const QImage &image) {
        m_loading.remove(key);
        if (image.isNull())
            m_undecodable.insert(key);
        viewport()->update();
    });
}

QImage Masonry::thumbnail(const Post &post)
{
    const auto cover = post.cover();
    if (!cover)
        return {};
    const QString key = ImageCache::key(*cover, ImageCache::Size::thumb);
    QImage image = m_cache.cached(key);
    if (image.isNull())
        requestThumbnail(post); // a new download or an eviction since mounting
    return image;
}

void Masonry::paintEvent(QPaintEvent *event)
{
    m_painted = true;
    QPainter painter(viewport());
    painter.fillRect(event->rect(), Theme::background().resolved());
    const qreal offset = cardAreaTop() - verticalScrollBar()->value();
    const QRectF dirty = QRectF(event->rect()).translated(0, -offset);
    const qreal phase = std::fmod(m_progressClock.elapsed() / 1200.0, 1.0);
    const auto paintCard = [&](int index, const TiltHover *tilt) {
        const Post &post = *m_posts[index];
        PostCard::State state{thumbnail(post), std::nullopt, index == m_focus->card() && focusRingShown(),
                              phase};
        if (tilt) {
            state.pointer = tilt->point();
            state.tilt = tilt->amount();
        }
        m_card.paint(painter, post, cardRect(index), state);
    };
    for (int index : cardsInBand(dirty.top(), dirty.bottom())) {
        if (!m_hover->tiltOf(index))
            paintCard(index, nullptr);
    }
    // Tilted cards are drawn last, above their neighbours; the one springing in on top.
    for (int index : m_hover->raisedCards()) {
        if (const TiltHover *tilt = index >= 0 && index < m_posts.size() ? m_hover->tiltOf(index) : nullptr)
            paintCard(index, tilt);
    }
}

void Masonry::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (!updateColumns())
        relayout();
}

void Masonry::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    settle();
}

void Masonry::scrollContentsBy(int, int dy)
{
    const int newY = verticalScrollBar()->value();
    placeHeader();
    updateMounted();
    trackScroll(newY + dy, newY);
    setScrolling(true);
    m_scrollIdle.start();
    viewport()->update();
}

void Masonry::trackScroll(int oldY, int newY)
{
    const QDateTime now = Clock::now();
    if (m_toolbarChangedAt.isValid() && m_toolbarChangedAt.msecsTo(now) <= toolbarGapMs)
        return;
    bool want;
    if (newY < 60)
        want = false;
    else if (newY - oldY > 3)
        want = true;
    else if (newY - oldY < -3)
        want = false;
    else
        return;
    if (want == m_toolbarHidden)
        return;
    m_toolbarHidden = want;
    m_toolbarChangedAt = now;
    emit toolbarHiddenRequested(want);
}

void Masonry::setScrolling(bool scrolling)
{
    if (scrolling == m_scrolling)
        return;
    m_scrolling = scrolling;
    if (scrolling)
        m_hover->stop();
}

bool Masonry::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        m_hover->leave();
    if (event->type() == QEvent::ToolTip) {
        showToolTip(*static_cast<QHelpEvent *>(event));
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// Cards are painted, so the tooltips of their badges are found here.
void Masonry::showToolTip(const QHelpEvent &event)
{
    const int index = cardAt(event.pos());
    const QString text =
        index >= 0 ? m_card.toolTip(*m_posts[index], cardRect(index), event.pos()) : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event.globalPos(), text, viewport());
}

void Masonry::mousePressEvent(QMouseEvent *event)
{
    m_pressed = m_scrolling ? -1 : cardAt(event->position());
    m_pressPosition = event->position().toPoint();
    if (m_pressed >= 0 && event->button() == Qt::LeftButton)
        m_focus->setCard(m_pressed);
}

void Masonry::mouseMoveEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && m_pressed >= 0) {
        if ((event->position().toPoint() - m_pressPosition).manhattanLength() >=
            QApplication::startDragDistance()) {
            const int index = m_pressed;
            m_pressed = -1;
            startDrag(index);
        }
        return;
    }
    m_hover->hoverAt(event->position());
}

void Masonry::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = m_pressed;
    m_pressed = -1;
    if (event->button() == Qt::LeftButton && index >= 0 && !m_scrolling && cardAt(event->position()) == index)
        emit postActivated(m_posts[index]);
}

void Masonry::contextMenuEvent(QContextMenuEvent *event)
{
    int index = -1;
    QPoint position = event->globalPos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        index = cardAt(viewport()->mapFrom(this, event->pos()));
    } else if (m_focus->card() >= 0) {
        index = m_focus->card();
        position = viewport()->mapToGlobal(cardRect(index).center().toPoint());
    }
    if (index >= 0 && !m_scrolling && !m_posts[index]->isGone())
        emit menuRequested(m_posts[index], position);
}

void Masonry::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: m_focus->move(event->key()); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const int card = m_focus->card(); card >= 0 && !m_posts[card]->isGone())
            emit postActivated(m_posts[card]);
        return;
    case Qt::Key_Menu:
        if (const int card = m_focus->card(); card >= 0 && !m_posts[card]->isGone())
            emit menuRequested(m_posts[card], viewport()->mapToGlobal(cardRect(card).center().toPoint()));
        return;
    default: QAbstractScrollArea::keyPressEvent(event);
    }
}

void Masonry::revealCard(int index)
{
    const QRectF rect = cardRect(index);
    QScrollBar &bar = *verticalScrollBar();
    if (rect.top() < 0)
        bar.setValue(bar.value() + int(std::floor(rect.top() - m_spacing)));
    else if (rect.bottom() > viewport()->height())
        bar.setValue(bar.value() + int(std::ceil(rect.bottom() - viewport()->height() + m_spacing)));
    viewport()->update();
}

void Masonry::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_focus->card() < 0 && !m_posts.isEmpty() && m_focus->isByKeyboard())
        m_focus->move(0);
}

bool Masonry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_header && event->type() == QEvent::LayoutRequest)
        relayout();
    return QAbstractScrollArea::eventFilter(watched, event);
}

std::unique_ptr<QMimeData> Masonry::dragData(int index) const
{
    const Post &post = *m_posts[index];
    return PostDrag{post.id(), post.sourceURL()}.mimeData();
}

void Masonry::startDrag(int index)
{
    const std::shared_ptr<Post> post = m_posts[index];
    if (post->isGone())
        return;
    auto drag = new QDrag(this);
    drag->setMimeData(dragData(index).release());
    const QPixmap preview = m_card.dragPreview(*post, thumbnail(*post), devicePixelRatioF());
    drag->setPixmap(preview);
    drag->setHotSpot(QPoint(int(PostCard::dragSize / 2), int(PostCard::dragSize / 2)));
    m_hover->stop();
    drag->exec(Qt::CopyAction);
}

void Masonry::updateProgressTimer()
{
    const auto &phases = ImportProgress::shared().phases();
    const bool parsing = std::any_of(m_mounted.cbegin(), m_mounted.cend(), [&](int index) {
        const auto found = phases.constFind(m_posts[index]->id());
        return found != phases.cend() && found->isParsing();
    });
    if (parsing && !m_progressTick.isActive())
        m_progressTick.start();
    else if (!parsing)
        m_progressTick.stop();
}
