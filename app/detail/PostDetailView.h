#pragma once

#include <QList>
#include <QWidget>
#include <memory>

class InfoPane;
class Media;
class MediaPane;
class ModelContext;
class Post;

// The screen of one saved post: its media on the left and its information
// beside them, or the information alone, centred, when it has no media.
// The left and right arrow keys page through the media unless a text field
// has the keyboard focus.
class PostDetailView : public QWidget {
    Q_OBJECT
public:
    PostDetailView(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent = nullptr);

    std::shared_ptr<Post> post() const { return m_post; }
    MediaPane *mediaPane() const { return m_media; }
    InfoPane *infoPane() const { return m_info; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The post's media in order, without items that left the store.
    QList<std::shared_ptr<Media>> liveMedia() const;
    void layOutWithMedia();
    void layOutAlone();

    std::shared_ptr<Post> m_post;
    MediaPane *m_media = nullptr;
    InfoPane *m_info;
};
