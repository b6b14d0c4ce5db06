#include "PostCard.h"

#include "ImportProgress.h"
#include "Media.h"
#include "PaintFilling.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "PostText.h"
#include "Symbol.h"
#include "TabularDigits.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QCoreApplication>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>

namespace {

// More than any reserved line count can show at any card width; keeps a
// hostile 100,000-character title from being laid out on every frame.
constexpr int shownTextLimit = 600;

QColor textColor(qreal opacity = 1)
{
    QColor color = QGuiApplication::palette().color(QPalette::WindowText);
    color.setAlphaF(opacity);
    return color;
}

// Draws the text in at most maxLines lines inside the rectangle, the last
// one elided when text is left over. Lines beside `keepClear` end short of
// it, so the text keeps its distance from a badge over the block.
void drawLines(QPainter &painter, const QRectF &rect, const QString &text, const QFont &font, int maxLines,
               const QRectF &keepClear = {})
{
    constexpr qreal clearance = 6;
    QString shown = text.left(shownTextLimit);
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, font);
    layout.beginLayout();
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    qreal y = rect.top();
    for (int index = 0; index < maxLines; ++index) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        const bool beside = !keepClear.isEmpty() && y < keepClear.bottom() + clearance &&
                            y + metrics.lineSpacing() > keepClear.top() - clearance;
        const qreal width =
            beside ? std::min(rect.width(), keepClear.left() - clearance - rect.left()) : rect.width();
        line.setLineWidth(std::max(width, 0.0));
        const bool last = index == maxLines - 1;
        const QString rest = shown.mid(line.textStart());
        const bool more = line.textStart() + line.textLength() < shown.size();
        if (last && more) {
            const QString elided = metrics.elidedText(rest.simplified(), Qt::ElideRight, width);
            painter.drawText(QPointF(rect.left(), y + metrics.ascent()), elided);
            break;
        }
        line.draw(&painter, QPointF(rect.left(), y));
        y += metrics.lineSpacing();
    }
    layout.endLayout();
}

QString kindSymbol(const QList<std::shared_ptr<Media>> &media)
{
    const auto any = [&](MediaKind kind) {
        return std::any_of(media.cbegin(), media.cend(),
                           [&](const auto &item) { return item->kind() == kind; });
    };
    if (any(MediaKind::audio))
        return QStringLiteral("music.note");
    if (any(MediaKind::video))
        return QStringLiteral("play.fill");
    if (any(MediaKind::livePhoto))
        return QStringLiteral("livephoto");
    return {};
}

} // namespace

namespace {

qreal ratioOf(const std::shared_ptr<Media> &cover)
{
    if (!cover || cover->width() <= 0 || cover->height() <= 0)
        return 1;
    return std::clamp(cover->height() / cover->width(), 0.6, 1.6);
}

} // namespace

qreal PostCard::coverRatio(const Post &post)
{
    return ratioOf(post.cover());
}

qreal PostCard::height(const Post &post, qreal width, const CardMetrics &metrics)
{
    if (post.isGone())
        return 1;
    // The cover is looked up once: the grid asks this of every post.
    const auto cover = post.cover();
    return metrics.caption + (cover ? width * ratioOf(cover) : metrics.textBlock);
}

QRectF PostCard::bodyRect(const QRectF &frame, const CardMetrics &metrics)
{
    return {frame.topLeft(), QSizeF(frame.width(), std::max(frame.height() - metrics.caption, 0.0))};
}

PostCard::Badges PostCard::badges(const Post &post)
{
    const auto media = post.media();
    Badges badges;
    badges.failed = post.parseState() == ParseState::failed;
    badges.kindSymbol = kindSymbol(media);
    badges.count = int(media.size());
    const bool anyMotion = std::any_of(media.cbegin(), media.cend(),
                                       [](const auto &item) { return item->kind() != MediaKind::image; });
    badges.visible = badges.failed || anyMotion || badges.count > 1;
    return badges;
}

QString PostCard::blockText(const Post &post)
{
    if (!post.content().isEmpty())
        return post.content();
    return post.note().isEmpty() ? PostText::link(post) : post.note();
}

QString PostCard::authorText(const Post &post)
{
    return post.authorName().isEmpty() ? post.platform().displayName() : post.authorName();
}

void PostCard::paint(QPainter &painter, const Post &post, const QRectF &frame, const State &state) const
{
    if (post.isGone())
        return;
    const QRectF body = bodyRect(frame, m_metrics);
    if (state.pointer) {
        const qreal ratio = painter.device()->devicePixelRatioF();
        QPixmap picture((body.size() * ratio).toSize());
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        QPainter inner(&picture);
        paintBody(inner, post, QRectF(QPointF(), body.size()), state);
        inner.end();
        m_tilt.paint(painter, body, picture, state.pointer, state.tilt);
    } else {
        painter.save();
        QPainterPath outline;
        outline.addRoundedRect(body, cornerRadius, cornerRadius);
        painter.setClipPath(outline);
        paintBody(painter, post, body, state);
        painter.restore();
    }
    if (state.focused) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Theme::accent().resolved(), 2.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(-2, -2, 2, 2), cornerRadius + 2, cornerRadius + 2);
        painter.restore();
    }
    paintCaption(painter, post, QRectF(body.bottomLeft(), frame.bottomRight()));
}

void PostCard::paintBody(QPainter &painter, const Post &post, const QRectF &rect, const State &state) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    if (post.cover()) {
        paintCover(painter, post, rect, state.cover);
    } else {
        painter.fillRect(rect, Theme::card().resolved());
        painter.setPen(textColor());
        const qreal pad = CardMetrics::textPadding;
        drawLines(painter, rect.adjusted(pad, pad, -pad, -pad), blockText(post), m_metrics.textFont,
                  CardMetrics::textBlockLines, badgeRects(post, rect).capsule);
    }
    paintBadges(painter, post, rect);
    paintProgress(painter, post, rect, state.indeterminatePhase);
}

void PostCard::paintCover(QPainter &painter, const Post &post, const QRectF &rect, const QImage &cover) const
{
    painter.fillRect(rect, Theme::placeholder().resolved());
    if (post.cover()->needsImageDownload()) {
        const qreal side = 22;
        Symbol::paint(painter, QStringLiteral("photo"),
                      QRectF(rect.center() - QPointF(side / 2, side / 2), QSizeF(side, side)),
                      textColor(0.3));
        return;
    }
    if (cover.isNull())
        return;
    paintFilling(painter, rect, cover);
}

PostCard::BadgeRects PostCard::badgeRects(const Post &post, const QRectF &body) const
{
    const Badges shown = badges(post);
    BadgeRects rects;
    if (!shown.visible)
        return rects;
    const QFontMetricsF metrics(m_metrics.detailFont);
    const qreal icon = metrics.height() * 0.9;
    const QString count = shown.count >= 2 ? QString::number(shown.count) : QString();
    const qreal countWidth = count.isEmpty() ? 0 : TabularDigits::width(metrics, count);
    const int items = int(shown.failed) + int(!shown.kindSymbol.isEmpty()) + int(!count.isEmpty());
    const qreal content =
        4 * (items - 1) + icon * (int(shown.failed) + int(!shown.kindSymbol.isEmpty())) + countWidth;
    const QSizeF size(content + 12, metrics.height() + 6);
    rects.capsule = QRectF(QPointF(body.right() - 8 - size.width(), body.top() + 8), size);
    qreal x = rects.capsule.left() + 6;
    const auto take = [&](qreal width) {
        const QRectF rect(x, rects.capsule.center().y() - icon / 2, width, icon);
        x += width + 4;
        return rect;
    };
    if (shown.failed)
        rects.failed = take(icon);
    if (!shown.kindSymbol.isEmpty())
        rects.kind = take(icon);
    if (!count.isEmpty())
        rects.count = take(countWidth);
    return rects;
}

void PostCard::paintBadges(QPainter &painter, const Post &post, const QRectF &rect) const
{
    const BadgeRects rects = badgeRects(post, rect);
    if (rects.capsule.isEmpty())
        return;
    const Badges shown = badges(post);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 115));
    painter.drawRoundedRect(rects.capsule, rects.capsule.height() / 2, rects.capsule.height() / 2);
    if (rects.failed)
        Symbol::paint(painter, QStringLiteral("exclamationmark.triangle.fill"), *rects.failed,
                      QColor(255, 149, 0));
    if (rects.kind)
        Symbol::paint(painter, shown.kindSymbol, *rects.kind, Qt::white, 1.6);
    if (rects.count) {
        QFont bold = m_metrics.detailFont;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(Qt::white);
        TabularDigits::draw(
            painter,
            QRectF(rects.count->left(), rects.capsule.top(), rects.count->width(), rects.capsule.height()),
            Qt::AlignHCenter, QString::number(shown.count));
    }
    painter.restore();
}

QString PostCard::toolTip(const Post &post, const QRectF &frame, const QPointF &point) const
{
    if (post.isGone())
        return {};
    const QRectF body = bodyRect(frame, m_metrics);
    const BadgeRects rects = badgeRects(post, body);
    if (rects.failed && rects.failed->adjusted(-3, -3, 3, 3).contains(point))
        return post.parseError();
    const QRectF note = noteRect(post, QRectF(body.bottomLeft(), frame.bottomRight()));
    if (!note.isEmpty() && note.adjusted(-3, -3, 3, 3).contains(point))
        return tr("有笔记");
    return {};
}

QRectF PostCard::noteRect(const Post &post, const QRectF &caption) const
{
    if (post.note().isEmpty())
        return {};
    const qreal badge = CardMetrics::badgeSize;
    const qreal rowTop =
        caption.top() + CardMetrics::captionTop + m_metrics.headlineHeight + CardMetrics::captionSpacing;
    const qreal centre = rowTop + m_metrics.detailHeight / 2;
    return {caption.right() - badge, centre - badge / 2, badge, badge};
}

void PostCard::paintProgress(QPainter &painter, const Post &post, const QRectF &rect, qreal phase) const
{
    const auto progress = ImportProgress::shared().phase(post.id());
    if (!progress)
        return;
    const QRectF track(rect.left() + 8, rect.bottom() - 8 - 4, rect.width() - 16, 4);
    QColor accent = Theme::accent().resolved();
    painter.save();
    painter.setPen(Qt::NoPen);
    QColor faint = accent;
    faint.setAlphaF(0.25);
    painter.setBrush(faint);
    painter.drawRoundedRect(track, 2, 2);
    painter.setBrush(accent);
    if (progress->isParsing()) {
        const qreal width = track.width() * 0.3;
        const qreal left = track.left() + (track.width() - width) * phase;
        painter.drawRoundedRect(QRectF(left, track.top(), width, track.height()), 2, 2);
    } else {
        const qreal fraction = std::clamp(progress->fraction(), 0.0, 1.0);
        painter.drawRoundedRect(QRectF(track.topLeft(), QSizeF(track.width() * fraction, track.height())), 2,
                                2);
    }
    painter.restore();
}

void PostCard::paintCaption(QPainter &painter, const Post &post, const QRectF &rect) const
{
    painter.save();
    const QRectF headline(rect.left(), rect.top() + CardMetrics::captionTop, rect.width(),
                          m_metrics.headlineHeight);
    painter.setPen(textColor());
    drawLines(painter, headline, PostText::headline(post), m_metrics.headlineFont,
              CardMetrics::headlineLines);

    const QRectF row(rect.left(), headline.bottom() + CardMetrics::captionSpacing, rect.width(),
                     m_metrics.detailHeight);
    const qreal badge = CardMetrics::badgeSize;
    PlatformBadge::paint(painter, post.platform(),
                         QRectF(row.left(), row.center().y() - badge / 2, badge, badge));
    qreal right = row.right();
    const QColor detail = textColor(0.55);
    if (const QRectF note = noteRect(post, rect); !note.isEmpty()) {
        Symbol::paint(painter, QStringLiteral("note.text"), note, detail);
        right -= badge + 5;
    }
    painter.setFont(m_metrics.detailFont);
    painter.setPen(detail);
    const QRectF author(row.left() + badge + 5, row.top(), right - row.left() - badge - 5, row.height());
    const QString elided = QFontMetricsF(m_metrics.detailFont)
                               .elidedText(authorText(post).simplified(), Qt::ElideRight, author.width());
    painter.drawText(author, Qt::AlignLeft | Qt::AlignVCenter, elided);
    painter.restore();
}

QPixmap PostCard::dragPreview(const Post &post, const QImage &cover, qreal devicePixelRatio) const
{
    QPixmap pixmap(QSize(dragSize, dragSize) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF rect(0, 0, dragSize, dragSize);
    QPainterPath outline;
    outline.addRoundedRect(rect, 8, 8);
    painter.setClipPath(outline);
    painter.fillRect(rect, Theme::card().resolved());
    const auto media = post.cover();
    if (media && !media->needsImageDownload() && !cover.isNull()) {
        paintCover(painter, post, rect, cover);
    } else {
        painter.setPen(textColor());
        drawLines(painter, rect.adjusted(8, 8, -8, -8), PostText::headline(post), m_metrics.detailFont, 3);
    }
    return pixmap;
}
