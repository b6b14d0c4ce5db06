#include "SidebarIndex.h"

#include "Board.h"
#include "Media.h"
#include "Post.h"
#include "Tag.h"

SidebarIndex::SidebarIndex(const QList<std::shared_ptr<Post>> &posts, bool privateUnlocked,
                           const QSet<QUuid> &hidden)
{
    // Newest first, so the first covers a board meets are its newest ones;
    // the input order decides between equal times.
    for (const auto &post : Post::newestFirst(posts)) {
        if (!post->isGone() && !hidden.contains(post->id()))
            add(*post, privateUnlocked);
    }
}

void SidebarIndex::add(const Post &post, bool privateUnlocked)
{
    if (post.isPrivate()) {
        if (privateUnlocked)
            ++m_counts[SidebarItem::privateSpace()];
        return;
    }
    if (post.isArchived()) {
        ++m_counts[SidebarItem::archived()];
        return;
    }
    addListed(post);
}

void SidebarIndex::addListed(const Post &post)
{
    ++m_counts[SidebarItem::all()];
    std::shared_ptr<Media> cover;
    bool coverRead = false;
    for (const auto &board : post.boards()) {
        if (board->isGone())
            continue;
        ++m_counts[SidebarItem::board(board)];
        QList<std::shared_ptr<Media>> &covers = m_covers[board->id()];
        if (covers.size() >= maxCovers)
            continue;
        if (!coverRead) {
            cover = post.cover();
            coverRead = true;
        }
        if (cover)
            covers.append(cover);
    }
    for (const auto &tag : post.tags()) {
        if (!tag->isGone())
            ++m_counts[SidebarItem::tag(tag)];
    }
}
