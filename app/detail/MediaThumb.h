#pragma once

#include <QAbstractButton>
#include <memory>

class Media;

// One square thumbnail of the media strip: the item's picture filling a
// rounded square, a white glyph on items that move or sound (a live photo,
// a song, a video), ringed in the accent colour while its item is the
// current one; the others are drawn a little faded.
class MediaThumb : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int side = 56;
    static constexpr qreal fadedOpacity = 0.75;

    explicit MediaThumb(std::shared_ptr<Media> media, QWidget *parent = nullptr);

    // The glyph drawn over the picture; empty for a still picture.
    QString glyph() const { return m_glyph; }
    qreal opacity() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showChecked(bool checked);

    QString m_glyph;
};
