#pragma once

#include <QHash>
#include <QList>
#include <QWidget>
#include <memory>

class Media;
class MediaItemView;
class Motion;

// The pages of the media stage: the current item fills the widget and its
// two neighbours wait beside it, 24 points away. Items further away get no
// view, so their players and pictures are released; an item keeps its view,
// player position included, while it stays within one page of the current.
// A new current item slides in on a spring.
class MediaPages : public QWidget {
    Q_OBJECT
public:
    static constexpr int gap = 24;

    explicit MediaPages(QWidget *parent = nullptr);

    void setPages(const QList<std::shared_ptr<Media>> &media, int index);
    // The view of the item at that position; none when it is not built.
    MediaItemView *view(int index) const;
    // The position the stage shows now, between two items while it slides.
    Motion &slide() const { return *m_slide; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();

    QList<std::shared_ptr<Media>> m_media;
    int m_index = 0;
    QHash<const Media *, MediaItemView *> m_views;
    Motion *m_slide;
};
