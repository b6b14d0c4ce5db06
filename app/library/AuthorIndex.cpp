#include "AuthorIndex.h"

#include "AuthorDirectory.h"
#include "Post.h"

#include <QSet>
#include <algorithm>

AuthorIndex::AuthorIndex(const QList<std::shared_ptr<Post>> &posts)
{
    for (const auto &post : posts) {
        if (post->isGone() || post->isPrivate() || post->authorName().isEmpty())
            continue;
        const AuthorAccount account = AuthorAccount::fromPost(*post);
        ++m_counts[account];
        if (post->authorAvatarURL().isEmpty())
            continue;
        const auto known = m_avatars.constFind(account);
        // A later post with the same date keeps the first one's link.
        if (known == m_avatars.cend() || post->createdAt() > known->date)
            m_avatars.insert(account, {post->createdAt(), post->authorAvatarURL()});
    }
}

QList<Platform> AuthorIndex::platformsOf(const QList<AuthorAccount> &accounts)
{
    QList<Platform> platforms;
    for (const AuthorAccount &account : accounts) {
        if (!platforms.contains(account.platform()))
            platforms.append(account.platform());
    }
    std::sort(platforms.begin(), platforms.end(),
              [](Platform a, Platform b) { return a.rawValue() < b.rawValue(); });
    return platforms;
}

QString AuthorIndex::avatar(const QList<AuthorAccount> &accounts) const
{
    for (const AuthorAccount &account : accounts) {
        if (const auto found = m_avatars.constFind(account); found != m_avatars.cend())
            return found->url;
    }
    return {};
}

QList<AuthorIndex::Person> AuthorIndex::people(const AuthorDirectory &directory) const
{
    QSet<AuthorAccount> seen;
    QList<Person> result;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it) {
        if (seen.contains(it.key()))
            continue;
        const QList<AuthorAccount> accounts = directory.accounts(it.key());
        int count = 0;
        for (const AuthorAccount &account : accounts) {
            seen.insert(account);
            count += m_counts.value(account);
        }
        // Named after the main account, not the account met first: the hash
        // visits accounts in another order on every run, and an unnamed group
        // must keep one name.
        result.append({accounts.first(), directory.displayName(accounts.first()), count});
    }
    // The main account's key settles ties, so the list reads the same on every run.
    std::sort(result.begin(), result.end(), [](const Person &a, const Person &b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (a.name != b.name)
            return a.name < b.name;
        return a.main.key() < b.main.key();
    });
    return result;
}
