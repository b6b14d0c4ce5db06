#pragma once

#include <QWidget>
#include <memory>

class Media;

// One page of the media stage. Which view a page gets depends on the item:
// a live photo with a clip, an audio item or a video with something to
// play, else the still picture.
class MediaItemView : public QWidget {
    Q_OBJECT
public:
    static MediaItemView *create(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent = nullptr);

    const std::shared_ptr<Media> &media() const { return m_media; }
    bool isCurrent() const { return m_current; }
    // Whether the page is the one on stage; players pause when it stops being.
    void setCurrent(bool current);

protected:
    MediaItemView(std::shared_ptr<Media> media, bool isCurrent, QWidget *parent);
    virtual void currentChanged() {}

private:
    std::shared_ptr<Media> m_media;
    bool m_current;
};
