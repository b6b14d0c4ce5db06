#pragma once

#include "MediaItemView.h"

class MediaImage;
class QWidget;

// A page showing the item's picture at full size, fitted whole. Until it is
// decoded the thumbnail stands in; while the picture is being downloaded a
// busy bar and a note say so. A picture whose download failed shows its
// thumbnail, or a plain placeholder, until a later pass fetches it.
class StillImage : public MediaItemView {
    Q_OBJECT
public:
    StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent = nullptr);

    MediaImage *image() const { return m_image; }
    MediaImage *thumbnail() const { return m_thumbnail; }
    bool isDownloading() const;
    // Rounds the corners of the picture and of its stand-in thumbnail.
    void setCornerRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool isFetching() const;
    void showState();

    MediaImage *m_thumbnail;
    MediaImage *m_image;
    QWidget *m_downloading;
};
