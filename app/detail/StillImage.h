#pragma once

#include "MediaItemView.h"

class MediaImage;

// A page showing the item's picture at full size, fitted whole.
class StillImage : public MediaItemView {
    Q_OBJECT
public:
    StillImage(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent = nullptr);

    MediaImage *image() const { return m_image; }

private:
    MediaImage *m_image;
};
