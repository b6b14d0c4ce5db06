#pragma once

#include "AuthorAccount.h"
#include "AuthorGroup.h"
#include "Board.h"
#include "ModelContainer.h"
#include "Post.h"
#include "TamselStore.h"
#include "TestHome.h"

// A library in an in-memory store with helpers to add authors' posts,
// author-linked boards and persons.
class AuthorLibrary : public HomeTest {
protected:
    static AuthorAccount account(Platform platform, const char *name)
    {
        return AuthorAccount(platform, QString::fromUtf8(name));
    }

    std::shared_ptr<Post> addPost(const AuthorAccount &author)
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://example.com/%1").arg(++m_postCount),
                                           author.platform());
        post->setAuthorName(author.name());
        context.insert(post);
        return post;
    }

    std::shared_ptr<Board> addBoard(const QList<AuthorAccount> &linked)
    {
        auto board = std::make_shared<Board>(QStringLiteral("board"), QString());
        board->setLinkedAuthors(linked);
        context.insert(board);
        return board;
    }

    std::shared_ptr<AuthorGroup> addGroup(const QList<AuthorAccount> &members, bool starred = false,
                                          std::optional<QDateTime> starredAt = std::nullopt)
    {
        auto group = std::make_shared<AuthorGroup>(QString(), members);
        group->setStarred(starred);
        group->setStarredAt(starredAt);
        context.insert(group);
        return group;
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();

private:
    int m_postCount = 0;
};
