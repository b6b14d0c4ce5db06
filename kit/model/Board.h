#pragma once

#include "AuthorAccount.h"
#include "PersistentModel.h"

#include <QDateTime>
#include <QSet>
#include <QString>

class AuthorDirectory;
class Post;

// A named collection of posts with a summary and the authors whose posts
// belong on it.
class Board : public PersistentModel {
public:
    Board(const QString &name, const QString &summary);

    static const EntityDescription &entityDescription();

    QString name() const { return m_name; }
    void setName(const QString &value) { write(m_name, value); }
    QString summary() const { return m_summary; }
    void setSummary(const QString &value) { write(m_summary, value); }
    QDateTime createdAt() const { return m_createdAt; }
    void setCreatedAt(const QDateTime &value) { write(m_createdAt, value); }
    // Author account keys, one per line.
    QString authorsRaw() const { return m_authorsRaw; }
    void setAuthorsRaw(const QString &value) { write(m_authorsRaw, value); }

    QList<std::shared_ptr<Post>> posts() const;
    void setPosts(const QList<std::shared_ptr<Post>> &posts);

    // The accounts of the author text in stored order; lines that are no
    // key are skipped. The setter writes the keys as given, repeats included.
    QList<AuthorAccount> linkedAuthors() const;
    void setLinkedAuthors(const QList<AuthorAccount> &accounts);
    // The linked authors with every other account of their persons.
    QSet<AuthorAccount> linkedAccounts(const AuthorDirectory &directory) const;
    // Whether the post's author is one of the linked accounts; never for a
    // post without an author name.
    bool links(const Post &post, const AuthorDirectory &directory) const;
    // Puts every live post of a linked author onto the board; returns how
    // many it added. Posts are never taken off here.
    int collectLinkedPosts(const QList<std::shared_ptr<Post>> &posts, const AuthorDirectory &directory);
    // Unlinks the account's whole person and takes that person's posts off
    // the board; returns how many posts it took off.
    int unlink(const AuthorAccount &account, const AuthorDirectory &directory);

protected:
    explicit Board(Materializing);

private:
    std::shared_ptr<Board> self();

    QString m_name;
    QString m_summary;
    QDateTime m_createdAt;
    QString m_authorsRaw;
};
