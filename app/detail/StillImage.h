#pragma once

#include "MediaItemView.h"

class MediaImage;
class QLabel;

// A page showing the item's picture at full size, fitted whole, or a note
// while the picture is still being downloaded.
class StillImage : public MediaItemView {
    Q_OBJECT
public:
    StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent = nullptr);

    MediaImage *image() const { return m_image; }
    bool isDownloading() const;

private:
    void showDownloading();

    MediaImage *m_image;
    QLabel *m_downloading;
};
