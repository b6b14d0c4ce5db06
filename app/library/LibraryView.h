#pragma once

#include "AuthorAccount.h"
#include "ImageCache.h"
#include "LibraryHeader.h"
#include "SidebarItem.h"
#include "SortOrder.h"

#include <QList>
#include <QWidget>
#include <QWidgetAction>
#include <memory>
#include <optional>

class AuthorDirectory;
class AuthorHeader;
class Masonry;
class Motion;
class ModelContext;
class Post;
class QLabel;
class QLineEdit;
class QMenu;
class QStackedLayout;
class QToolButton;
class QVBoxLayout;
class UndoableDelete;

// The library for one sidebar selection: which posts belong to it, the
// search, the sort order and the platform filter, shown in the masonry grid
// under its header, or an empty state. Its toolbar group (search field, the
// buttons that save links and the display menu) joins the window's toolbar
// and hides while the user scrolls down. It follows the store by itself.
class LibraryView : public QWidget {
    Q_OBJECT
public:
    static const QString sortOrderKey;
    static const QString cardWidthKey;

    LibraryView(ModelContext &context, UndoableDelete &pendingDelete, const SidebarItem &item,
                QWidget *parent = nullptr, ImageCache &cache = ImageCache::shared());

    SidebarItem item() const { return m_item; }
    // A new selection clears both filters, shows the toolbar again and
    // starts a fresh grid; the search text stays.
    void setItem(const SidebarItem &item);
    QString search() const;
    void setSearch(const QString &text);
    SortOrder sortOrder() const;
    void setSortOrder(SortOrder order);
    qreal cardWidth() const;
    void setCardWidth(qreal width);
    std::optional<Platform> platformFilter() const { return m_platformFilter; }
    void setPlatformFilter(std::optional<Platform> platform);
    std::optional<AuthorAccount> accountFilter() const { return m_accountFilter; }
    void setAccountFilter(const std::optional<AuthorAccount> &account);
    // Shows the button that saves the clipboard's link while there is one.
    void setClipboardLink(const std::optional<QString> &link);

    // The selection's posts after search and sort, before the platform filter.
    const QList<std::shared_ptr<Post>> &unfiltered() const { return m_unfiltered; }
    // What the grid shows.
    const QList<std::shared_ptr<Post>> &shown() const { return m_shown; }
    // One entry per platform with posts, most first, ties in platform order.
    static QList<LibraryHeader::PlatformCount> platformCounts(const QList<std::shared_ptr<Post>> &posts);

    QString title() const { return m_title; }
    // "n 条", the number of posts shown.
    QString subtitle() const { return m_subtitle; }
    bool isEmptyStateShown() const;
    QString emptyTitle() const;
    bool toolbarHidden() const { return m_toolbarHidden; }
    // The toolbar group for the window's toolbar; it hides with the toolbar.
    QAction *toolbarAction() const { return m_toolbarAction; }
    // The group's opacity, on its way as the toolbar hides or comes back.
    Motion &toolbarFade() const { return *m_groupFade; }
    Masonry *masonry() const { return m_masonry; }
    LibraryHeader *header() const { return m_header; }
    // Null unless an author is selected.
    AuthorHeader *authorHeader() const { return m_authorHeader; }

signals:
    // A card was opened.
    void postActivated(const std::shared_ptr<Post> &post);
    // A person of the starred strip was opened.
    void itemActivated(const SidebarItem &item);
    void toolbarHiddenChanged(bool hidden);
    // The title or the subtitle changed.
    void titleChanged();
    void collectClipboardRequested();
    void addLinkRequested();
    void toastRequested(const QString &message);
    void reparseRequested(const std::shared_ptr<Post> &post);
    void privateRequested(const std::shared_ptr<Post> &post, bool isPrivate);
    void telegramRequested(const std::shared_ptr<Post> &post);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void applyAppearance();
    void buildToolbar();
    QMenu *makeDisplayMenu(QWidget *parent);
    void buildEmptyState();
    void makeMasonry();
    void makeAuthorHeader();
    void placeAuthorHeader(bool empty);
    void placeAuthorHeaderInTabOrder();
    // The store or the selection changed: the selection is read anew.
    void reselect();
    void settingChanged(const QString &key);
    void refresh();
    QList<std::shared_ptr<Post>> selectionPosts(const AuthorDirectory &directory);
    // The selection's posts whose search text holds the text, trimmed of
    // spaces and tabs, in any letter case; all of them for a blank text.
    QList<std::shared_ptr<Post>> searched(const QString &text);
    void showContent(const QList<LibraryHeader::PlatformCount> &counts);
    void setToolbarHidden(bool hidden);
    void followGroupFade();
    void showMenu(const std::shared_ptr<Post> &post, const QPoint &position);

    ModelContext &m_context;
    UndoableDelete &m_pendingDelete;
    ImageCache &m_cache;
    SidebarItem m_item;
    std::optional<Platform> m_platformFilter;
    std::optional<AuthorAccount> m_accountFilter;
    // Read from the store once per change, not once per keystroke.
    QList<std::shared_ptr<Post>> m_selection;
    QStringList m_searchTexts; // of m_selection, made on the first search
    bool m_selectionStale = true;
    QList<std::shared_ptr<Post>> m_unfiltered;
    QList<std::shared_ptr<Post>> m_shown;
    QString m_title;
    QString m_subtitle;
    bool m_toolbarHidden = false;

    QStackedLayout *m_pages;
    Masonry *m_masonry = nullptr;
    QWidget *m_headerBox;
    QVBoxLayout *m_headerLayout;
    AuthorHeader *m_authorHeader = nullptr;
    LibraryHeader *m_header;
    QWidget *m_emptyPage;
    QVBoxLayout *m_emptyLayout;
    QLabel *m_emptyIcon;
    QLabel *m_emptyTitle;
    QLabel *m_emptyText;

    QWidgetAction *m_toolbarAction;
    Motion *m_groupFade;
    QToolButton *m_clipboardButton;
    QLineEdit *m_searchField;
};
