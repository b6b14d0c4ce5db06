#pragma once

#include <QCoroTask>
#include <QList>
#include <QUuid>
#include <functional>
#include <memory>

class PostImporter;
class Post;

// Process-wide callback lists through which optional modules learn what the
// kit does, without the kit knowing the modules. Modules append once at
// start; nothing is ever removed. Used on the main thread only.
class KepselHooks {
public:
    // A post's import is over (parsed or failed, media fetched), or a note
    // was created. Callbacks handle their own errors: they must not throw.
    using PostReady = std::function<QCoro::Task<>(PostImporter &, std::shared_ptr<Post>)>;
    // The sync gave a stored post a new id: old id, then new id.
    using PostIDChanged = std::function<void(const QUuid &, const QUuid &)>;
    // The sync is about to delete a stored post.
    using PostDeletedBySync = std::function<void(const QUuid &)>;

    static QList<PostReady> &postReady();
    static QList<PostIDChanged> &postIDChanged();
    static QList<PostDeletedBySync> &postDeletedBySync();

    // Runs the postReady callbacks one after another, each awaited before the
    // next starts. Callbacks appended meanwhile wait for the next post.
    static QCoro::Task<> ready(PostImporter &importer, std::shared_ptr<Post> post);
};
