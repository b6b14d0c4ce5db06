#pragma once

#include <QList>
#include <QWidget>
#include <memory>

class InfoPane;
class Media;
class MediaPane;
class ModelContext;
class Post;
class QStackedLayout;
class QToolButton;
class QWidgetAction;
class UndoableDelete;

// The screen of one saved post: its media on the left and its information
// beside them, or the information alone, centred, when it has no media.
// Without a text field holding the keyboard focus, the left and right arrow
// keys page through the media, Ctrl+E archives and Ctrl+Backspace deletes.
// Its toolbar group opens the link, archives, offers the post's menu and
// deletes with undo. A post that leaves the store while shown gives way to
// a page saying so.
class PostDetailView : public QWidget {
    Q_OBJECT
public:
    PostDetailView(std::shared_ptr<Post> post, ModelContext &context, UndoableDelete &pendingDelete,
                   QWidget *parent = nullptr);

    std::shared_ptr<Post> post() const { return m_post; }
    MediaPane *mediaPane() const { return m_media; }
    InfoPane *infoPane() const { return m_info; }
    // The group of toolbar buttons, for the window's toolbar.
    QWidgetAction *toolbarAction() const { return m_toolbarAction; }
    bool isDeletedPageShown() const;

    void toggleArchive();
    // Leaves the screen first, then hides the post for a few seconds of undo.
    void deletePost();

signals:
    void dismissRequested();
    void toastRequested(const QString &message);
    void reparseRequested(const std::shared_ptr<Post> &post);
    void privateRequested(const std::shared_ptr<Post> &post, bool isPrivate);
    void telegramRequested(const std::shared_ptr<Post> &post);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The post's media in order, without items that left the store.
    QList<std::shared_ptr<Media>> liveMedia() const;
    bool isPostGone() const;
    QWidget *makeContent();
    void layOutWithMedia(QWidget *content);
    void layOutAlone(QWidget *content);
    void buildToolbar();
    void showArchiveState();
    void showPostMenu();
    void showDeletedPageIfGone();
    bool handleCommandKey(const QKeyEvent *event);

    std::shared_ptr<Post> m_post;
    ModelContext &m_context;
    UndoableDelete &m_pendingDelete;
    MediaPane *m_media = nullptr;
    InfoPane *m_info;
    QStackedLayout *m_pages;
    QWidget *m_deletedPage = nullptr;
    QWidgetAction *m_toolbarAction = nullptr;
    QToolButton *m_archiveButton = nullptr;
};
