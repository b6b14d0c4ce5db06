#pragma once

#include "AuthorAccount.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <memory>

class AuthorGroup;
class ModelContext;

// A snapshot index of persons: which group each account belongs to and the
// starred groups in display order. Built per use from freshly read groups and
// never updated; members, names and flags are read from the live records.
// An account that no group names is a person of its own.
class AuthorDirectory {
public:
    // The first group that names an account wins it; deleted or detached
    // groups are skipped.
    explicit AuthorDirectory(const QList<std::shared_ptr<AuthorGroup>> &groups = {});
    // Every group of the context; empty when the fetch fails.
    explicit AuthorDirectory(ModelContext &context);

    std::shared_ptr<AuthorGroup> group(const AuthorAccount &of) const;
    // The members of the account's group, main account first, or the account
    // alone when it is ungrouped.
    QList<AuthorAccount> accounts(const AuthorAccount &with) const;
    template <typename Accounts> QSet<AuthorAccount> expand(const Accounts &accounts) const
    {
        QSet<AuthorAccount> expanded;
        for (const AuthorAccount &account : accounts) {
            for (const AuthorAccount &member : this->accounts(account))
                expanded.insert(member);
        }
        return expanded;
    }
    // True for a grouped account that is not its group's main account.
    bool isAlt(const AuthorAccount &account) const;
    // Accounts of other persons that use one of this person's names, by
    // platform raw value and then name in scalar order, one per person.
    QList<AuthorAccount> sameNameSuggestions(const AuthorAccount &account,
                                             const QList<AuthorAccount> &among) const;
    QString displayName(const AuthorAccount &of) const;
    bool isStarred(const AuthorAccount &account) const;
    // The main account of each starred group in display order.
    QList<AuthorAccount> starred() const;
    const QList<std::shared_ptr<AuthorGroup>> &starredGroups() const { return m_starredGroups; }

private:
    AuthorAccount personOf(const AuthorAccount &account) const;

    QHash<AuthorAccount, std::shared_ptr<AuthorGroup>> m_groupOf;
    QList<std::shared_ptr<AuthorGroup>> m_starredGroups;
};
