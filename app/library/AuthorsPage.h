#pragma once

#include "AuthorAccount.h"
#include "AuthorIndex.h"

#include <QWidget>
#include <functional>
#include <optional>

class AdaptiveGrid;
class AuthorDirectory;
class FilterChip;
class HorizontalStrip;
class ModelContext;
class PersonEntry;
class QLabel;
class QToolButton;
class SidebarItem;
class UndoableDelete;

// The authors segment of the organize screen: platform chips, the starred
// persons as tiles, then every other person by saved count. Entries open the
// person's page; their menus star and unstar. Follows the store and the
// pending deletes; the organize screen hands in its search text. Meant to sit
// in a vertically scrolling area, which it gives its height for a width.
class AuthorsPage : public QWidget {
    Q_OBJECT
public:
    AuthorsPage(ModelContext &context, UndoableDelete &pendingDelete, QWidget *parent = nullptr);

    // Matched, trimmed of spaces and tabs, in any letter case, against
    // display names and account names.
    void setSearch(const QString &text);
    // The chosen platform; nothing for all. Kept while the page lives.
    std::optional<Platform> platformFilter() const { return m_platform; }
    void setPlatformFilter(std::optional<Platform> platform);

    QList<FilterChip *> chips() const;
    QList<PersonEntry *> starredEntries() const { return m_starredEntries; }
    QList<PersonEntry *> otherEntries() const { return m_otherEntries; }
    // Shown only with at least two starred persons.
    QToolButton *reorderButton() const { return m_reorder; }
    QString othersTitle() const;
    // Empty while anyone is listed.
    QString emptyText() const;

signals:
    // A person was opened: an author item for its main account.
    void itemActivated(const SidebarItem &item);
    void toastRequested(const QString &message);

private:
    struct Listing {
        QList<AuthorIndex::Person> starred;
        QList<AuthorIndex::Person> others;
        QList<Platform> platforms;
        int personCount = 0;
        int starredCount = 0;
    };

    void refresh();
    Listing listing(const AuthorDirectory &directory, const AuthorIndex &index) const;
    bool matches(const AuthorDirectory &directory, const AuthorIndex::Person &person) const;
    QStringList signature(const AuthorDirectory &directory, const AuthorIndex &index,
                          const Listing &listing) const;
    void rebuildChips(const Listing &listing);
    static QList<PersonEntry *> fillSection(QWidget &grid, QWidget &heading,
                                            const QList<AuthorIndex::Person> &people,
                                            const std::function<PersonEntry *(const AuthorIndex::Person &)> &make);
    PersonEntry *makeTile(const AuthorDirectory &directory, const AuthorIndex &index,
                          const AuthorIndex::Person &person);
    PersonEntry *makeRow(const AuthorDirectory &directory, const AuthorIndex &index,
                         const AuthorIndex::Person &person);
    void openOrderSheet();

    ModelContext &m_context;
    UndoableDelete &m_pendingDelete;
    QString m_search;
    std::optional<Platform> m_platform;
    // What the page shows, to rebuild only on a change.
    QStringList m_shownChips;
    QStringList m_shown;

    HorizontalStrip *m_chips;
    QWidget *m_starredHeading;
    QToolButton *m_reorder;
    QWidget *m_starredGrid;
    QLabel *m_othersTitle;
    QWidget *m_othersGrid;
    QLabel *m_empty;
    QList<PersonEntry *> m_starredEntries;
    QList<PersonEntry *> m_otherEntries;
};
