#pragma once

#include <QAbstractButton>
#include <memory>

class Media;

// One square thumbnail of the media strip, filled by the item's picture and
// ringed in the accent colour while its item is the current one.
class MediaThumb : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int side = 56;

    explicit MediaThumb(std::shared_ptr<Media> media, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
