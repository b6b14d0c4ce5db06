#pragma once

#include "AuthorAccount.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

class AuthorDirectory;
class Post;

// How many posts each author account has and which avatar to show for it,
// and the persons those accounts make up, ranked by how much was saved from
// them. Built in one pass over the posts; private posts and posts without an
// author do not count, archived ones do.
class AuthorIndex {
public:
    struct Avatar {
        QDateTime date;
        QString url;
    };
    struct Person {
        AuthorAccount main;
        QString name;
        int count = 0;
    };

    explicit AuthorIndex(const QList<std::shared_ptr<Post>> &posts);

    // The distinct platforms of a person's accounts, by raw value in plain order.
    static QList<Platform> platformsOf(const QList<AuthorAccount> &accounts);

    const QHash<AuthorAccount, int> &counts() const { return m_counts; }
    int count(const AuthorAccount &account) const { return m_counts.value(account); }
    // The avatar of the first account, in the given order, that has one; empty when none has.
    QString avatar(const QList<AuthorAccount> &accounts) const;
    // One entry per person, named after its main account unless the group
    // has a name; most posts first, equal counts by name in plain code-unit
    // order, then by the main account's key.
    QList<Person> people(const AuthorDirectory &directory) const;

private:
    QHash<AuthorAccount, int> m_counts;
    QHash<AuthorAccount, Avatar> m_avatars;
};
