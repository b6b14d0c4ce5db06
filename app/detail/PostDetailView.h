#pragma once

#include "FilePanels.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QWidget>
#include <memory>
#include <optional>

class InfoPane;
class KeyboardFocus;
class Media;
class MediaPane;
class ModelContext;
class Post;
class QScrollArea;
class QStackedLayout;
class QuickLookWindow;
class QToolButton;
class QWidgetAction;
class UndoableDelete;

// The screen of one saved post: its media on the left and its information
// beside them, or the information alone, centred, when it has no media.
// Its title follows the post's author as renames and parses change it.
// Without a text field holding the keyboard focus, the left and right arrow
// keys page through the media, Space previews the current item (Space or
// Escape closes the preview), Ctrl+E archives and Ctrl+Backspace deletes.
// With media, Tab comes back to the screen for these keys and rings the
// media. Its toolbar group opens the link, saves or exports the media,
// archives, offers the post's menu and deletes with undo. A post that leaves the store while shown gives way
// to a page saying so.
class PostDetailView : public QWidget {
    Q_OBJECT
public:
    PostDetailView(std::shared_ptr<Post> post, ModelContext &context, UndoableDelete &pendingDelete,
                   QWidget *parent = nullptr);

    std::shared_ptr<Post> post() const { return m_post; }
    // What names the screen: the post's author, or its platform without one.
    QString title() const { return m_title; }
    MediaPane *mediaPane() const { return m_media; }
    InfoPane *infoPane() const { return m_info; }
    // The group of toolbar buttons, for the window's toolbar.
    QWidgetAction *toolbarAction() const { return m_toolbarAction; }
    bool isDeletedPageShown() const;

    // The base of the names of the post's exported files.
    QString fileBase() const;
    // Opens the preview of the current item, or closes an open one.
    void toggleQuickLook();
    // The file the preview shows; none while it is closed.
    std::optional<QString> quickLook() const;
    QuickLookWindow *quickLookWindow() const { return m_quickLook; }
    // Saves the current item where the user says; the file is written off
    // the main thread.
    QCoro::Task<> saveCurrent();
    // Writes every item into a new folder inside the one the user picks,
    // then shows that folder in the file manager.
    QCoro::Task<> exportAll();
    void setFilePanels(FilePanels panels) { m_panels = std::move(panels); }

    void toggleArchive();
    // Leaves the screen first, then hides the post for a few seconds of undo.
    void deletePost();

signals:
    void titleChanged();
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
    void applyAppearance();
    void followStore();
    void followTitle();
    void showMedia(const QList<std::shared_ptr<Media>> &media);
    void layOutWithMedia();
    void layOutAlone();
    void clearContent();
    int currentIndex() const;
    void buildToolbar();
    void addSaveMenu(QWidget *group);
    void paintToolbarSymbols();
    void showArchiveState();
    void showPostMenu();
    void showDeletedPageIfGone();
    bool handleCommandKey(const QKeyEvent *event);

    std::shared_ptr<Post> m_post;
    ModelContext &m_context;
    UndoableDelete &m_pendingDelete;
    QString m_title;
    MediaPane *m_media = nullptr;
    KeyboardFocus *m_keyboard;
    InfoPane *m_info;
    QScrollArea *m_side;
    QStackedLayout *m_pages;
    QWidget *m_content = nullptr;
    QWidget *m_deletedPage = nullptr;
    QWidgetAction *m_toolbarAction = nullptr;
    QToolButton *m_open = nullptr;
    QToolButton *m_save = nullptr;
    QWidget *m_saveGap = nullptr;
    QToolButton *m_archiveButton = nullptr;
    QToolButton *m_more = nullptr;
    QToolButton *m_remove = nullptr;
    QuickLookWindow *m_quickLook = nullptr;
    FilePanels m_panels = FilePanels::dialogs();
};
