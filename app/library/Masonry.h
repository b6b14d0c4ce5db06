#pragma once

#include "CardMetrics.h"
#include "ImageCache.h"
#include "MasonryFocus.h"
#include "MasonryHover.h"
#include "Motion.h"
#include "PostCard.h"

#include <QAbstractScrollArea>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QSet>
#include <QTimer>
#include <QUuid>
#include <memory>

class Post;
class QHelpEvent;
class QMimeData;

// The library's masonry grid: cards of one width in columns, each placed in
// the shortest column, under an optional header that scrolls with them.
// Every card's frame is arithmetic on the cover's proportions and two
// measured heights; cards are painted, not built as widgets, and only those
// crossing the visible band are touched, found by binary search per column.
// Thumbnails are asked for when a card comes within a screen above or two
// below the view, and a card keeps its place among the loaded ones until it
// is four screens above or five below.
class Masonry : public QAbstractScrollArea {
    Q_OBJECT
public:
    struct Layout {
        QList<QRectF> frames;      // per post, in the card area's coordinates
        QList<QList<int>> columns; // post indices of each column, top to bottom
        qreal height = 0;          // of the card area
    };

    static constexpr qreal defaultSpacing = 14;
    static constexpr qreal defaultCardWidth = 230;
    // Toolbar changes are at least this far apart.
    static constexpr qint64 toolbarGapMs = 350;

    explicit Masonry(QWidget *parent = nullptr, ImageCache &cache = ImageCache::shared());

    // At least 2 columns, however narrow.
    static int columnCount(qreal width, qreal cardWidth, qreal spacing);
    static Layout layout(const QList<std::shared_ptr<Post>> &posts, qreal width, int columns, qreal spacing,
                         const CardMetrics &metrics);
    // Indices of the cards in a column that cross the band [top, bottom],
    // top to bottom; the band is in the card area's coordinates.
    static QList<int> cardsIn(const Layout &layout, int column, qreal top, qreal bottom);
    // The cards of all columns crossing the band, in display order; while
    // the columns change, those on their way there too.
    QList<int> cardsInBand(qreal top, qreal bottom) const;
    // Content y of the card area's top.
    qreal cardAreaTop() const;

    void setPosts(const QList<std::shared_ptr<Post>> &posts);
    const QList<std::shared_ptr<Post>> &posts() const { return m_posts; }
    void setCardWidth(qreal width);
    qreal cardWidth() const { return m_cardWidth; }
    // The header becomes a child of the grid, as wide as its content.
    void setHeader(QWidget *header);
    QWidget *header() const { return m_header; }

    int columns() const { return m_columns; }
    const Layout &currentLayout() const
    {
        settle();
        return m_layout;
    }
    const CardMetrics &metrics() const { return m_metrics; }
    // A card's frame in the viewport's coordinates, where it is drawn now
    // (on its way while the columns change).
    QRectF cardRect(int index) const;
    // The card under a viewport point, or -1.
    int cardAt(const QPointF &point) const;
    // Posts whose thumbnails are asked for and kept, in display order.
    QList<int> mounted() const
    {
        settle();
        return m_mounted;
    }
    // Scrolls the least that shows the card whole, with a gap beyond it.
    void revealCard(int index);
    int focusedCard() const { return m_focus->card(); }
    // The focused card is ringed only while the keyboard put the focus there.
    bool focusRingShown() const { return m_focus->ringShown(); }
    // The card tilting towards the pointer, or -1.
    int tiltedCard() const { return m_hover->card(); }
    bool isScrolling() const { return m_scrolling; }
    // The pointer is back from a popup, such as a card's menu, that held it
    // while it moved: the tilt goes to the card under it now, if any.
    void followPointer() { m_hover->followPointer(); }
    // What dragging the card carries: the post for drops inside the
    // application and its link as text.
    std::unique_ptr<QMimeData> dragData(int index) const;

signals:
    void postActivated(const std::shared_ptr<Post> &post);
    void menuRequested(const std::shared_ptr<Post> &post, const QPoint &globalPosition);
    // True when the user scrolls down, false when up or near the top.
    void toolbarHiddenRequested(bool hidden);

protected:
    bool viewportEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Lays the cards out again, or once shown while hidden: a grid laid out
    // before its first paint is laid out once, at its final width.
    void relayout();
    void layOut();
    // Catches up on a layout put off while hidden, for callers that ask.
    void settle() const;
    // Whether the count changed; a change after the first glides the cards.
    bool updateColumns();
    QRectF frame(int index) const;
    void placeHeader();
    qreal headerHeight() const;
    void updateMounted();
    void requestThumbnail(const Post &post);
    QImage thumbnail(const Post &post);
    void trackScroll(int oldY, int newY);
    void showToolTip(const QHelpEvent &event);
    void setScrolling(bool scrolling);
    void startDrag(int index);
    void updateProgressTimer();

    ImageCache &m_cache;
    QList<std::shared_ptr<Post>> m_posts;
    qreal m_cardWidth = defaultCardWidth;
    qreal m_spacing = defaultSpacing;
    int m_columns = 0;
    CardMetrics m_metrics;
    PostCard m_card{m_metrics};
    Layout m_layout;
    // What m_layout was made for: the cards are placed again only when the
    // posts, the width or the columns change, not when the header does.
    bool m_framesStale = true;
    int m_laidOutWidth = -1;
    int m_laidOutColumns = 0;
    bool m_layoutPending = false;
    Layout m_glideFrom;
    bool m_painted = false;
    Motion m_glide{Motion::Curve::spring(0.4, 1.0), 0.0};
    QPointer<QWidget> m_header;

    QList<int> m_mounted;
    QSet<QUuid> m_alive;
    QSet<QString> m_loading;
    QSet<QString> m_undecodable;

    bool m_toolbarHidden = false;
    QDateTime m_toolbarChangedAt;
    bool m_scrolling = false;
    QTimer m_scrollIdle;

    MasonryHover *m_hover;
    MasonryFocus *m_focus;
    int m_pressed = -1;
    QPoint m_pressPosition;

    QTimer m_progressTick;
    QElapsedTimer m_progressClock;
};
