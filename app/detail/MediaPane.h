#pragma once

#include <QList>
#include <QWidget>
#include <memory>

class Media;
class MediaDragSource;
class MediaPages;
class QHBoxLayout;
class PageCounter;
class QPropertyAnimation;
class QVBoxLayout;
class QScrollArea;
class QToolButton;

// The left side of the detail screen: one media item of the post at a time,
// fitted in the stage, with arrow buttons, a counter and a strip of
// thumbnails when there are several. Paging stops at both ends and never wraps around.
// A two-finger swipe over the stage pages too; pictures on the stage and
// every thumbnail can be dragged out as files.
class MediaPane : public QWidget {
    Q_OBJECT
public:
    explicit MediaPane(QWidget *parent = nullptr);

    // Keeps the current item current when it is still in the list, else
    // keeps the index, clamped to the new list.
    void setMedia(const QList<std::shared_ptr<Media>> &media);
    const QList<std::shared_ptr<Media>> &media() const { return m_media; }
    // The base of the dragged files' names; set before the media.
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QWidget *stage() const { return m_stage; }
    int count() const { return int(m_media.size()); }
    int index() const { return m_index; }
    // Pages by a step of -1 or +1; nothing past either end.
    void go(int step);
    // Selects an item, as a click on its thumbnail does.
    void jump(int index);
    MediaPages *pages() const { return m_pages; }

signals:
    void indexChanged(int index);

private:
    QWidget *makeStage();
    QScrollArea *makeStrip();
    QToolButton *makeArrow(int step);
    void applyAppearance();
    void fillStrip();
    void showCurrent();
    void centreCurrentThumb();

    QList<std::shared_ptr<Media>> m_media;
    QString m_fileName;
    int m_index = 0;
    QWidget *m_stage = nullptr;
    MediaDragSource *m_stageDrag = nullptr;
    MediaPages *m_pages;
    QToolButton *m_left;
    QToolButton *m_right;
    PageCounter *m_counter;
    QVBoxLayout *m_counterRow = nullptr;
    QPropertyAnimation *m_stripScroll = nullptr;
    QScrollArea *m_strip;
    QHBoxLayout *m_thumbs;
};
