#pragma once

#include "AuthorAccount.h"
#include "AuthorIndex.h"

#include <QDialog>

class AuthorDirectory;
class ModelContext;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;

// Where the user says which accounts make up one person: the person's
// display name, its accounts with the main one first (make another the main
// one, take one out) and every other person of the library, searchable, to
// add. Every change goes to the store at once; "完成" saves and closes.
class AccountsSheet : public QDialog {
    Q_OBJECT
public:
    // At most this many persons are offered to add.
    static constexpr int candidateLimit = 60;

    AccountsSheet(const AuthorAccount &account, ModelContext &context, QWidget *parent = nullptr);

    // Shown for a group of two or more.
    QLineEdit *nameField() const { return m_nameField; }
    QLineEdit *searchField() const { return m_searchField; }
    QList<AuthorAccount> shownAccounts() const { return m_shownAccounts; }
    // The main accounts of the persons offered, in order.
    QList<AuthorAccount> candidates() const;
    // The menu of an account row; null when the person has one account.
    QToolButton *accountMenu(int row) const { return m_accountMenus.value(row); }
    QPushButton *addButton(int row) const { return m_addButtons.value(row); }
    bool mainTagShown() const { return m_mainTagShown; }
    // Empty while there are candidates.
    QString emptyText() const;

signals:
    void toastRequested(const QString &message);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fitHeight();
    void refresh();
    QList<AuthorIndex::Person> findCandidates(const AuthorDirectory &directory, const AuthorIndex &index,
                                              const QList<AuthorAccount> &accounts) const;
    QStringList signature(const AuthorDirectory &directory, const AuthorIndex &index,
                          const QList<AuthorAccount> &accounts, bool grouped,
                          const QList<AuthorIndex::Person> &candidates) const;
    void showName(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts);
    void rebuildAccounts(const AuthorIndex &index, const QList<AuthorAccount> &accounts, bool grouped);
    void rebuildCandidates(const AuthorDirectory &directory, const AuthorIndex &index,
                           const QList<AuthorIndex::Person> &candidates);
    QWidget *makeAccountRow(const AuthorIndex &index, const QList<AuthorAccount> &accounts, int row,
                            bool several);
    QToolButton *makeAccountMenu(const QList<AuthorAccount> &accounts, int row, QWidget *parent);
    QWidget *makeCandidateRow(const AuthorDirectory &directory, const AuthorIndex &index,
                              const AuthorIndex::Person &candidate);
    void makeMain(const QList<AuthorAccount> &accounts, const AuthorAccount &account);
    void add(const AuthorIndex::Person &candidate);
    void finish();

    AuthorAccount m_account;
    ModelContext &m_context;
    QScrollArea *m_scroller;
    QHBoxLayout *m_bar;
    QWidget *m_nameSection;
    QLineEdit *m_nameField;
    QVBoxLayout *m_accountRows;
    QLineEdit *m_searchField;
    QVBoxLayout *m_candidateRows;
    QLabel *m_empty;
    QStringList m_shown; // what the rows show, to rebuild only on a change
    QList<AuthorAccount> m_shownAccounts;
    QList<AuthorIndex::Person> m_candidates;
    QList<QToolButton *> m_accountMenus;
    QList<QPushButton *> m_addButtons;
    bool m_mainTagShown = false;
};
