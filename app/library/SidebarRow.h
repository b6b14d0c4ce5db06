#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class CoverThumbnails;
class Media;
class Motion;

// One entry of the sidebar: an icon, the title on one line and the number of
// posts (drawn only above 0) on a rounded background that shows selection,
// hover and keyboard focus, easing in and out of hover and selection. A
// click emits `clicked`.
class SidebarRow : public QWidget {
    Q_OBJECT
public:
    // `symbol` names the icon; a board row draws its cover thumbnail instead.
    SidebarRow(const QString &title, const QString &symbol, bool boardTile, QWidget *parent = nullptr);

    const QString &title() const { return m_title; }
    void setTitle(const QString &title);
    const QString &symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    // The board row's cover; none draws the stack symbol.
    std::shared_ptr<Media> cover() const;
    void setCover(const std::shared_ptr<Media> &cover);
    int count() const { return m_count; }
    void setCount(int count);
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // The row the arrow keys stand on, ringed while the sidebar has focus.
    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);
    // A post is dragged over the row, which glows in the accent colour.
    bool isTargeted() const { return m_targeted; }
    void setTargeted(bool targeted);

    QSize sizeHint() const override;
    Motion &selectionMotion() const { return *m_selectFill; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintBackground(QPainter &painter) const;
    void paintIcon(QPainter &painter, const QRectF &rect) const;
    void paintCount(QPainter &painter, QRect &textRect) const;

    QString m_title;
    QString m_symbol;
    CoverThumbnails *m_thumbnail = nullptr; // board rows only
    int m_count = 0;
    bool m_selected = false;
    bool m_current = false;
    bool m_targeted = false;
    Motion *m_hoverFill;  // 0..1
    Motion *m_selectFill; // 0..1
};
