#pragma once

#include <QStringList>
#include <QWidget>

class Motion;

// A capsule of titles, one of them chosen; the chosen one sits on a raised
// capsule of its own, which slides on a spring to a newly chosen title. A
// click on another title chooses it, as do Left and Right while the bar has
// the keyboard focus.
class SegmentBar : public QWidget {
    Q_OBJECT
public:
    explicit SegmentBar(const QStringList &titles, QWidget *parent = nullptr);

    const QStringList &titles() const { return m_titles; }
    int current() const { return m_current; }
    // Draws the title as chosen; emits nothing.
    void setCurrent(int index);
    // The title's capsule, in the bar's coordinates.
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;
    // Where the raised capsule is drawn now.
    QRectF highlightRect() const;
    Motion &highlightMotion() const { return *m_highlight; }

signals:
    void chosen(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Draws the title as chosen and tells, unless it already was.
    void choose(int index);
    QFont titleFont(bool chosen) const;
    int segmentWidth(int index) const;

    QStringList m_titles;
    int m_current = 0;
    Motion *m_highlight;
};
