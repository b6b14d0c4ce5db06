#pragma once

#include <QWidget>

class KeyboardFocus;

// A tile of the organize page: it opens with a click or Return, shows a ring
// while the keyboard put the focus on it and glows while posts are dragged over it.
// Subclasses draw the content inside `contentRect`.
class OrganizeTile : public QWidget {
    Q_OBJECT
public:
    explicit OrganizeTile(QWidget *parent = nullptr);

    bool isTargeted() const { return m_targeted; }
    void setTargeted(bool targeted);
    bool focusRingShown() const;

signals:
    void activated();

protected:
    static constexpr qreal ringWidth = 2.5;

    // The tile less the room its focus ring needs.
    QRectF contentRect() const;
    // Rings and glows the rounded rectangle, in the widget's coordinates.
    void paintState(QPainter &painter, const QRectF &shape, qreal radius) const;

    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_targeted = false;
    KeyboardFocus *m_keyboard;
};
