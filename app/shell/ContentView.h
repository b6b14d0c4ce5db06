#pragma once

#include "SidebarItem.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class AddLinkSheet;
class DropHighlight;
class LibraryView;
class MacModel;
class NavigationStack;
class Post;
class QSplitter;
class QToolBar;
class SlideIn;
class Toast;
class UndoBar;

// The main window's content: the sidebar beside a navigation stack that
// shows the library, the organize page or the private space's lock screen,
// and everything that belongs to the window as a whole: dropped links, the
// naming alert and delete confirmation, the toast and undo bar, the add-link
// sheet and the work done when the content is first shown.
class ContentView : public QWidget {
    Q_OBJECT
public:
    explicit ContentView(MacModel &model, QWidget *parent = nullptr);

    const SidebarItem &selection() const { return m_selection; }
    void setSelection(const SidebarItem &item);
    NavigationStack &stack() const { return *m_stack; }

    // Pages over the detail column: a board's, tag's or author's library, or a
    // post.
    void push(const SidebarItem &item);
    void push(const std::shared_ptr<Post> &post);

    // The http and https links of a drop, as absolute texts, in order.
    static QStringList webLinks(const QList<QUrl> &urls);

signals:
    void selectionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *makeDetailColumn();
    // Whether the selection's root page is a library, not organize or the lock screen.
    bool showsLibrary() const;
    QWidget *makeRoot();
    LibraryView *makeLibrary(const SidebarItem &item);
    void connectLibrary(LibraryView &library);
    // The post actions that library and detail views alike hand to the model.
    template <class View> void connectPostActions(View &view);
    // The toolbar shows the group of the page on top, when it has one.
    void showTopToolbar();
    void showRoot();
    void privateLockChanged();
    bool dropLinks(const QList<QUrl> &urls);
    void setDropTargeted(bool targeted);

    void showNamingAlert();
    void commitNaming();
    void showDeleteConfirmation();
    void showAddSheet();
    void placeOverlays();
    int overlayFloor(int overlayWidth) const;

    MacModel &m_model;
    SidebarItem m_selection = SidebarItem::all();
    QSplitter *m_split;
    QWidget *m_detail;
    NavigationStack *m_stack;
    QToolBar *m_toolbar;
    QWidget *m_fade;
    DropHighlight *m_dropHighlight;
    Toast *m_toast;
    UndoBar *m_undoBar;
    SlideIn *m_toastSlide;
    SlideIn *m_undoSlide;
    QPointer<QWidget> m_namingAlert;
    QPointer<QWidget> m_deleteConfirmation;
    QPointer<AddLinkSheet> m_addSheet;
    bool m_started = false;
};
