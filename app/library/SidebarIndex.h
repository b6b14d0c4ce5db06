#pragma once

#include "SidebarItem.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>
#include <memory>

class Media;
class Post;

// How many posts stand behind each sidebar entry, and each board's cover,
// found in one pass over all posts. Private posts count only in the private
// space (and only while it is unlocked), archived ones only in the archive;
// the organize and author entries are never counted.
class SidebarIndex {
public:
    SidebarIndex(const QList<std::shared_ptr<Post>> &posts, bool privateUnlocked, const QSet<QUuid> &hidden);

    // 0 for an entry without posts.
    int count(const SidebarItem &item) const { return m_counts.value(item); }
    // The first medium of the board's newest listed post that has media.
    std::shared_ptr<Media> cover(const QUuid &boardId) const { return m_covers.value(boardId); }
    const QHash<SidebarItem, int> &counts() const { return m_counts; }
    const QHash<QUuid, std::shared_ptr<Media>> &covers() const { return m_covers; }

private:
    void add(const Post &post, bool privateUnlocked);
    void addListed(const Post &post);

    QHash<SidebarItem, int> m_counts;
    QHash<QUuid, std::shared_ptr<Media>> m_covers;
};
