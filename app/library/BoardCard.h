#pragma once

#include "FocusTilt.h"
#include "CoverThumbnails.h"
#include "OrganizeTile.h"
#include "TiltHover.h"

#include <QList>
#include <memory>
#include <optional>

class Media;

// A board on the organize page: a collage of up to three post covers that
// leans towards the pointer, above the board's name, its number of posts and
// the names of the authors linked to it.
class BoardCard : public OrganizeTile {
    Q_OBJECT
public:
    static constexpr int collageHeight = 150;

    explicit BoardCard(QWidget *parent = nullptr, ImageCache &cache = ImageCache::shared());

    // `authors` is already joined; empty leaves out the authors line.
    // `covers` are drawn newest first, three at most.
    void setValues(const QString &name, int count, const QString &authors,
                   const QList<std::shared_ptr<Media>> &covers);
    QString name() const { return m_name; }
    int count() const { return m_count; }
    QString authors() const { return m_authors; }
    const QList<std::shared_ptr<Media>> &covers() const { return m_thumbnails->covers(); }

    // The cover tiles for a collage of that width: one, two equal halves, or
    // a wide left tile beside a stacked pair.
    static QList<QRectF> tileRects(int coverCount, const QSizeF &size);

    QSize sizeHint() const override;
    // The collage, in the card's coordinates.
    QRectF collageRect() const;
    TiltHover &tiltHover() { return m_hover; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap collage(const QSizeF &size) const;
    void paintTexts(QPainter &painter, qreal top) const;

    CoverThumbnails *m_thumbnails;
    FocusTilt m_tilt{14, 1.02};
    QString m_name;
    int m_count = 0;
    QString m_authors;
    TiltHover m_hover;
};
