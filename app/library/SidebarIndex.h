#pragma once

#include "SidebarItem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>
#include <memory>

class Media;
class Post;

// How many posts stand behind each sidebar entry, and the covers of each
// board, found in one pass over all posts for the sidebar and the organize
// page alike. Private posts count only in the private space (and only while
// it is unlocked), archived ones only in the archive; the organize and author
// entries are never counted.
class SidebarIndex {
public:
    SidebarIndex(const QList<std::shared_ptr<Post>> &posts, bool privateUnlocked, const QSet<QUuid> &hidden);

    // 0 for an entry without posts.
    int count(const SidebarItem &item) const { return m_counts.value(item); }
    static constexpr int maxCovers = 3;

    // The first media of the board's newest listed posts that have media,
    // newest first, at most `maxCovers`.
    QList<std::shared_ptr<Media>> covers(const QUuid &boardId) const { return m_covers.value(boardId); }
    // The newest of them.
    std::shared_ptr<Media> cover(const QUuid &boardId) const { return covers(boardId).value(0); }
    const QHash<SidebarItem, int> &counts() const { return m_counts; }
    const QHash<QUuid, QList<std::shared_ptr<Media>>> &covers() const { return m_covers; }

private:
    void add(const Post &post, bool privateUnlocked);
    void addListed(const Post &post);

    QHash<SidebarItem, int> m_counts;
    QHash<QUuid, QList<std::shared_ptr<Media>>> m_covers;
};
