#pragma once

#include <QWidget>

class QTextLayout;

// Text that wraps within the width it is given: between words where it can,
// and anywhere inside a word too long for a line, such as a link. Its natural
// width is the text's on one line.
class WrappedLabel : public QWidget {
    Q_OBJECT
public:
    explicit WrappedLabel(const QString &text = {}, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Breaks the text into lines no wider than `width` and returns the
    // height they take.
    qreal layOut(QTextLayout &layout, qreal width) const;

    QString m_text;
};
