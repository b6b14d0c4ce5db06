#pragma once

#include "AuthorAccount.h"

#include <QCoreApplication>
#include <QString>
#include <memory>
#include <optional>
#include <variant>

class Board;
class Post;
class Tag;

// What the main window's sidebar selects: all posts, the organize page, the
// archive, the private space, one board, one tag or one author account. Board
// and tag items hold the live store object, so they follow renames and
// compare by identity.
class SidebarItem {
    Q_DECLARE_TR_FUNCTIONS(SidebarItem)
public:
    // In declaration order; the order is part of the hash.
    enum class Kind { all, organize, archived, privateSpace, board, tag, author };

    static SidebarItem all() { return SidebarItem(Kind::all, {}); }
    static SidebarItem organize() { return SidebarItem(Kind::organize, {}); }
    static SidebarItem archived() { return SidebarItem(Kind::archived, {}); }
    static SidebarItem privateSpace() { return SidebarItem(Kind::privateSpace, {}); }
    static SidebarItem board(std::shared_ptr<Board> board)
    {
        return SidebarItem(Kind::board, std::move(board));
    }
    static SidebarItem tag(std::shared_ptr<Tag> tag) { return SidebarItem(Kind::tag, std::move(tag)); }
    static SidebarItem author(const AuthorAccount &account) { return SidebarItem(Kind::author, account); }

    Kind kind() const { return m_kind; }
    // The payload of a board, tag or author item; null or nothing otherwise.
    std::shared_ptr<Board> boardObject() const;
    std::shared_ptr<Tag> tagObject() const;
    std::optional<AuthorAccount> account() const;

    // Empty for a board or tag that has left the store.
    QString title() const;
    // Private posts show only in the private space, archived ones only in the
    // archive; boards, tags and authors list neither.
    bool contains(const Post &post) const;

    bool operator==(const SidebarItem &other) const;

private:
    using Payload = std::variant<std::monostate, std::shared_ptr<Board>, std::shared_ptr<Tag>, AuthorAccount>;

    SidebarItem(Kind kind, Payload payload) : m_kind(kind), m_payload(std::move(payload)) {}

    Kind m_kind;
    Payload m_payload;
};

size_t qHash(const SidebarItem &item, size_t seed = 0);
