#pragma once

#include "AuthorGroup.h"
#include "Board.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"

// One library in an in-memory store, with helpers to fill and look it up.
class Library {
public:
    std::shared_ptr<Post> addPost(const QString &link, Platform platform = Platform::weibo)
    {
        auto post = std::make_shared<Post>(link, platform);
        context.insert(post);
        return post;
    }
    std::shared_ptr<Tag> addTag(const QString &name)
    {
        auto tag = std::make_shared<Tag>(name, QStringLiteral("#D97757"));
        context.insert(tag);
        return tag;
    }
    std::shared_ptr<Board> addBoard(const QString &name, const QString &authors = {})
    {
        auto board = std::make_shared<Board>(name, QString());
        board->setAuthorsRaw(authors);
        context.insert(board);
        return board;
    }
    std::shared_ptr<AuthorGroup> addGroup(const QString &members, bool starred = false)
    {
        auto group = std::make_shared<AuthorGroup>(QStringLiteral("person"), QList<AuthorAccount>{});
        group->setMembersRaw(members);
        group->setStarred(starred);
        context.insert(group);
        return group;
    }

    template <class Model = Post> std::shared_ptr<Model> find(const QUuid &id)
    {
        FetchDescriptor<Model> descriptor;
        descriptor.predicate = [&](const Model &model) { return model.id() == id; };
        const auto found = context.fetch(descriptor);
        return found.isEmpty() ? nullptr : found.first();
    }
    template <class Model = Post> qsizetype count() { return context.fetch<Model>().size(); }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
};
