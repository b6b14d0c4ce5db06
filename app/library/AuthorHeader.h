#pragma once

#include "AuthorAccount.h"

#include <QWidget>
#include <optional>

class AuthorDirectory;
class AuthorIndex;
class FilterChip;
class ModelContext;
class QHBoxLayout;
class QToolButton;

// The head of a person's library page: avatar, name, star, how many posts on
// which platforms, chips that narrow the page to one account, and buttons
// that merge same-name accounts from other platforms; its manage button opens
// the accounts sheet. Follows the store.
class AuthorHeader : public QWidget {
    Q_OBJECT
public:
    AuthorHeader(const AuthorAccount &account, ModelContext &context, QWidget *parent = nullptr);

    // The library's account filter, shown on the chips.
    void setFilter(const std::optional<AuthorAccount> &filter);
    QString name() const;
    QString countLine() const;
    // "全部" and one chip per account; empty for a person of one account.
    QList<FilterChip *> chips() const;
    QList<QToolButton *> mergeButtons() const;
    QToolButton *manageButton() const { return m_manage; }

signals:
    void filterChosen(const std::optional<AuthorAccount> &account);
    void toastRequested(const QString &message);
    // Its widgets were made anew.
    void rebuilt();

private:
    void rebuild();
    // What the header shows, to rebuild it only when that changed.
    QStringList signature(const AuthorDirectory &directory, const AuthorIndex &index,
                          const QList<AuthorAccount> &accounts,
                          const QList<AuthorAccount> &suggestions) const;
    void openAccountsSheet();
    void buildTitleRow(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts, int count,
                       const QString &avatar);
    void buildChipRow(const AuthorDirectory &directory, const QList<AuthorAccount> &accounts,
                      const QList<AuthorAccount> &suggestions, const QHash<AuthorAccount, int> &counts);
    QToolButton *makeMergeButton(const AuthorDirectory &directory, const AuthorAccount &suggestion,
                                 bool join);
    FilterChip *makeChip(const QString &title, std::optional<AuthorAccount> account);

    AuthorAccount m_account;
    ModelContext &m_context;
    std::optional<AuthorAccount> m_filter;
    QWidget *m_content = nullptr;
    QToolButton *m_manage = nullptr;
    QString m_name;
    QString m_countLine;
    QStringList m_shown;
    QList<FilterChip *> m_chips;
    QList<QToolButton *> m_mergeButtons;
};
