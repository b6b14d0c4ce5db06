#include "BoardCard.h"

#include "Media.h"
#include "PaintFilling.h"
#include "Symbol.h"
#include "TabularDigits.h"
#include "Theme.h"
#include "Typography.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

constexpr qreal gap = 2;
constexpr qreal leftShare = 0.62;
constexpr int textSpacing = 8;
constexpr int authorsSpacing = 4;
constexpr int textInset = 2;

QColor secondaryText(const QPalette &palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

} // namespace

BoardCard::BoardCard(QWidget *parent, ImageCache &cache)
    : OrganizeTile(parent), m_thumbnails(new CoverThumbnails(this, cache))
{
    connect(m_thumbnails, &CoverThumbnails::loaded, this, qOverload<>(&QWidget::update));
    connect(&m_hover, &TiltHover::changed, this, qOverload<>(&QWidget::update));
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void BoardCard::setValues(const QString &name, int count, const QString &authors,
                          const QList<std::shared_ptr<Media>> &covers)
{
    const bool newHeight = authors.isEmpty() != m_authors.isEmpty();
    m_name = name;
    m_count = count;
    m_authors = authors;
    m_thumbnails->setCovers(covers.mid(0, 3));
    if (newHeight)
        updateGeometry();
    update();
}

QList<QRectF> BoardCard::tileRects(int coverCount, const QSizeF &size)
{
    const qreal width = size.width();
    const qreal height = size.height();
    switch (std::min(coverCount, 3)) {
    case 0: return {};
    case 1: return {QRectF(QPointF(), size)};
    case 2: {
        const qreal half = (width - gap) / 2;
        return {QRectF(0, 0, half, height), QRectF(half + gap, 0, width - half - gap, height)};
    }
    default: {
        const qreal left = (width - gap) * leftShare;
        const qreal right = width - gap - left;
        const qreal upper = (height - gap) / 2;
        return {QRectF(0, 0, left, height), QRectF(left + gap, 0, right, upper),
                QRectF(left + gap, upper + gap, right, height - upper - gap)};
    }
    }
}

QSize BoardCard::sizeHint() const
{
    const QFont body = font();
    int height = collageHeight + textSpacing + QFontMetrics(body).height();
    if (!m_authors.isEmpty())
        height += authorsSpacing + QFontMetrics(Typography::caption(body)).height();
    return {220, height + 2 * int(ringWidth)};
}

QRectF BoardCard::collageRect() const
{
    const QRectF content = contentRect();
    return {content.topLeft(), QSizeF(content.width(), collageHeight)};
}

QPixmap BoardCard::collage(const QSizeF &size) const
{
    const qreal ratio = devicePixelRatioF();
    QPixmap picture((size * ratio).toSize());
    picture.setDevicePixelRatio(ratio);
    const QColor placeholder = Theme::placeholder().resolved(palette());
    const qsizetype count = covers().size();
    picture.fill(count == 0 ? placeholder : Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (count == 0) {
        const qreal side = QFontMetricsF(font()).height() * 1.8;
        QColor tertiary = palette().color(QPalette::WindowText);
        tertiary.setAlphaF(0.3);
        Symbol::paint(painter, QStringLiteral("rectangle.stack"),
                      QRectF(QPointF(size.width() - side, size.height() - side) / 2, QSizeF(side, side)),
                      tertiary);
        return picture;
    }
    const QList<QRectF> tiles = tileRects(int(count), size);
    for (qsizetype index = 0; index < tiles.size(); ++index) {
        painter.fillRect(tiles[index], placeholder);
        if (const QImage image = m_thumbnails->image(index); !image.isNull())
            paintFilling(painter, tiles[index], image);
    }
    return picture;
}

void BoardCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRectF frame = collageRect();
    m_tilt.paint(painter, frame, collage(frame.size()), m_hover.point(), m_hover.amount());
    paintState(painter, frame.adjusted(-1, -1, 1, 1), 15);
    paintTexts(painter, frame.bottom() + textSpacing);
}

void BoardCard::paintTexts(QPainter &painter, qreal top) const
{
    const QRectF content = contentRect().adjusted(textInset, 0, -textInset, 0);
    const QFont body = font();
    QFont nameFont = body;
    nameFont.setWeight(QFont::DemiBold);
    const QFont countFont = Typography::callout(body);
    const QString count = QString::number(m_count);
    const QFontMetricsF nameMetrics(nameFont);
    const QFontMetricsF countMetrics(countFont);
    const qreal countWidth = TabularDigits::width(countMetrics, count);
    const qreal nameRoom = std::max(content.width() - countWidth - 6, 0.0);
    const QString name = nameMetrics.elidedText(m_name, Qt::ElideRight, nameRoom);
    const qreal baseline = top + nameMetrics.ascent();

    painter.setFont(nameFont);
    painter.setPen(Theme::text().resolved(palette()));
    painter.drawText(QPointF(content.left(), baseline), name);
    painter.setFont(countFont);
    painter.setPen(secondaryText(palette()));
    const qreal countLeft = content.left() + nameMetrics.horizontalAdvance(name) + 6;
    TabularDigits::draw(
        painter, QRectF(countLeft, baseline - countMetrics.ascent(), countWidth, countMetrics.height()),
        Qt::AlignLeft, count);
    if (m_authors.isEmpty())
        return;
    const QFont caption = Typography::caption(body);
    const QFontMetricsF captionMetrics(caption);
    painter.setFont(caption);
    painter.drawText(
        QPointF(content.left(), top + nameMetrics.height() + authorsSpacing + captionMetrics.ascent()),
        captionMetrics.elidedText(m_authors, Qt::ElideRight, content.width()));
}

void BoardCard::mouseMoveEvent(QMouseEvent *event)
{
    const QRectF frame = collageRect();
    if (frame.contains(event->position()))
        m_hover.hover(event->position() - frame.topLeft());
    else
        m_hover.leave();
    OrganizeTile::mouseMoveEvent(event);
}

void BoardCard::leaveEvent(QEvent *event)
{
    m_hover.leave();
    OrganizeTile::leaveEvent(event);
}
