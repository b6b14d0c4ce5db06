#pragma once

#include "CardMetrics.h"
#include "FocusTilt.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <optional>

class Post;
class QPainter;

// One cell of the library grid, painted straight onto the grid: the cover (or
// a block of the post's text), the badges, the import progress and the hover
// tilt, above a caption with the headline, the author and a note mark.
class PostCard {
    Q_DECLARE_TR_FUNCTIONS(PostCard)

public:
    // What the grid knows about a card beyond its post.
    struct State {
        QImage cover;                   // the decoded thumbnail, null while missing
        std::optional<QPointF> pointer; // hover point in the cover's coordinates
        bool focused = false;           // the keyboard focus ring
        qreal indeterminatePhase = 0;   // 0..1, the sweep of a parsing bar
        qreal tilt = 1;                 // how far the tilt has sprung in, 0..1
    };

    // The small badges over the cover.
    struct Badges {
        bool failed = false;
        QString kindSymbol; // empty for plain images
        int count = 0;      // shown from 2 on
        bool visible = false;
    };

    static constexpr qreal cornerRadius = 10;
    static constexpr qreal lift = 1.02;
    static constexpr qreal dragSize = 90;

    // Cover height over width, limited to 0.6 ... 1.6; 1 without a usable cover.
    static qreal coverRatio(const Post &post);
    // The height of a live post's card at that width; 1 for a gone post.
    static qreal height(const Post &post, qreal width, const CardMetrics &metrics);
    // The cover or text block inside the card's frame.
    static QRectF bodyRect(const QRectF &frame, const CardMetrics &metrics);
    static Badges badges(const Post &post);
    // The text block's text: the post's text, else its note, else its link.
    static QString blockText(const Post &post);
    // The author's name, else the platform's name.
    static QString authorText(const Post &post);

    explicit PostCard(const CardMetrics &metrics) : m_metrics(metrics) {}

    void paint(QPainter &painter, const Post &post, const QRectF &frame, const State &state) const;
    // What a badge under the point explains: the parse error over the failed
    // mark, "有笔记" over the note mark; empty elsewhere.
    QString toolTip(const Post &post, const QRectF &frame, const QPointF &point) const;
    // The 90-point square a dragged card shows.
    QPixmap dragPreview(const Post &post, const QImage &cover, qreal devicePixelRatio) const;

private:
    struct BadgeRects {
        QRectF capsule; // empty while the badges are invisible
        std::optional<QRectF> failed, kind, count;
    };

    BadgeRects badgeRects(const Post &post, const QRectF &body) const;
    // The note mark at the end of the caption's author row; empty without a note.
    QRectF noteRect(const Post &post, const QRectF &caption) const;
    void paintBody(QPainter &painter, const Post &post, const QRectF &rect, const State &state) const;
    void paintCover(QPainter &painter, const Post &post, const QRectF &rect, const QImage &cover) const;
    void paintBadges(QPainter &painter, const Post &post, const QRectF &rect) const;
    void paintProgress(QPainter &painter, const Post &post, const QRectF &rect, qreal phase) const;
    void paintCaption(QPainter &painter, const Post &post, const QRectF &rect) const;

    const CardMetrics &m_metrics;
    FocusTilt m_tilt{cornerRadius, lift};
};
