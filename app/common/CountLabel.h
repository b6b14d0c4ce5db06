#pragma once

#include <QWidget>

// A count in the faded secondary colour, its digits in cells of one width,
// so the rows of a list keep their counts in line as they change.
class CountLabel : public QWidget {
    Q_OBJECT
public:
    CountLabel(int count, const QFont &font, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
