#pragma once

#include <QWidget>

// "n / m" on a rounded pill over the media. Its digits sit in cells of one
// width and it is as wide as the last page needs, so it keeps its width
// while the pages go by.
class PageCounter : public QWidget {
    Q_OBJECT
public:
    // Its distance from the edges of the stage.
    static constexpr int margin = 12;

    explicit PageCounter(QWidget *parent = nullptr);

    // Page `index`, counted from 0, of `count`.
    void setPage(int index, int count);
    QString text() const;
    QSize sizeHint() const override;

    // The pill's fill and text in the current appearance, which the stage's
    // arrows share: pale with dark text, or dark with light text.
    static QColor fill();
    static QColor ink();
    // Its text style on a stage whose body text is in `body`.
    static QFont textFont(const QFont &body);
    // How far up from the bottom of such a stage it reaches, with a margin above it.
    static int reach(const QFont &body);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_index = 0;
    int m_count = 0;
};
