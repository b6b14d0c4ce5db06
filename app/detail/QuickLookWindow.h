#pragma once

#include <QImage>
#include <QWidget>

// The application's own preview of one file: a picture fitted in the window,
// any other file as its name under a glyph. Space or Escape closes it.
class QuickLookWindow : public QWidget {
    Q_OBJECT
public:
    explicit QuickLookWindow(QWidget *parent = nullptr);

    void showFile(const QString &path);
    QString file() const { return m_file; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void paintFileName(QPainter &painter);

    QString m_file;
    QImage m_image;
};
