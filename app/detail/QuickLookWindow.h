#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

class Media;
class MediaImage;
class PlayerView;

// The application's own preview of one item: a picture fitted in the window,
// a video, a song or a live photo's clip played from the store's own file (a
// song under its cover), any other file as its name under a glyph. Space or Escape closes
// it, which stops the playing.
class QuickLookWindow : public QWidget {
    Q_OBJECT
public:
    explicit QuickLookWindow(QWidget *parent = nullptr);

    // Whether the item is shown by playing it: a downloaded video or song, or
    // the stored clip of a live photo whose still is missing.
    static bool plays(const Media &media);

    void showFile(const QString &path);
    // Plays the item; `title` names the window.
    void showMedia(const std::shared_ptr<Media> &media, const QString &title);
    QString file() const { return m_file; }
    // None unless an item is being played.
    PlayerView *playerView() const { return m_player; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void paintFileName(QPainter &painter);
    void clearPlayer();
    void present();

    QString m_file;
    QImage m_image;
    PlayerView *m_player = nullptr;
    MediaImage *m_cover = nullptr;
};
