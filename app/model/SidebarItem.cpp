#include "SidebarItem.h"

#include "Board.h"
#include "Post.h"
#include "Tag.h"

#include <QHashFunctions>
#include <algorithm>

namespace {

template <class T> bool holds(const QList<std::shared_ptr<T>> &list, const std::shared_ptr<T> &object)
{
    return std::any_of(list.cbegin(), list.cend(), [&](const auto &entry) { return entry == object; });
}

} // namespace

std::shared_ptr<Board> SidebarItem::boardObject() const
{
    const auto *board = std::get_if<std::shared_ptr<Board>>(&m_payload);
    return board ? *board : nullptr;
}

std::shared_ptr<Tag> SidebarItem::tagObject() const
{
    const auto *tag = std::get_if<std::shared_ptr<Tag>>(&m_payload);
    return tag ? *tag : nullptr;
}

std::optional<AuthorAccount> SidebarItem::account() const
{
    const auto *account = std::get_if<AuthorAccount>(&m_payload);
    return account ? std::optional(*account) : std::nullopt;
}

QString SidebarItem::title() const
{
    switch (m_kind) {
    case Kind::all: return tr("全部收藏");
    case Kind::organize: return tr("整理");
    case Kind::archived: return tr("已归档");
    case Kind::privateSpace: return tr("隐私空间");
    case Kind::board: {
        const auto board = boardObject();
        return board && !board->isGone() ? board->name() : QString();
    }
    case Kind::tag: {
        const auto tag = tagObject();
        return tag && !tag->isGone() ? QLatin1Char('#') + tag->name() : QString();
    }
    case Kind::author: return account()->name();
    }
    return {};
}

bool SidebarItem::contains(const Post &post) const
{
    const bool listed = !post.isPrivate() && !post.isArchived();
    switch (m_kind) {
    case Kind::all: return listed;
    case Kind::organize: return false;
    case Kind::archived: return !post.isPrivate() && post.isArchived();
    case Kind::privateSpace: return post.isPrivate();
    case Kind::board: return listed && holds(post.boards(), boardObject());
    case Kind::tag: return listed && holds(post.tags(), tagObject());
    case Kind::author: return listed && AuthorAccount::fromPost(post) == *account();
    }
    return false;
}

bool SidebarItem::operator==(const SidebarItem &other) const
{
    return m_kind == other.m_kind && m_payload == other.m_payload;
}

size_t qHash(const SidebarItem &item, size_t seed)
{
    const int kind = int(item.kind());
    if (const auto board = item.boardObject())
        return qHashMulti(seed, kind, board.get());
    if (const auto tag = item.tagObject())
        return qHashMulti(seed, kind, tag.get());
    if (const auto account = item.account())
        return qHashMulti(seed, kind, *account);
    return qHashMulti(seed, kind);
}
