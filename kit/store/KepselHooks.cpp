#include "KepselHooks.h"

QList<KepselHooks::PostReady> &KepselHooks::postReady()
{
    static QList<PostReady> list;
    return list;
}

QList<KepselHooks::PostIDChanged> &KepselHooks::postIDChanged()
{
    static QList<PostIDChanged> list;
    return list;
}

QList<KepselHooks::PostDeletedBySync> &KepselHooks::postDeletedBySync()
{
    static QList<PostDeletedBySync> list;
    return list;
}

QCoro::Task<> KepselHooks::ready(PostImporter &importer, std::shared_ptr<Post> post)
{
    const QList<PostReady> callbacks = postReady();
    for (const PostReady &callback : callbacks)
        co_await callback(importer, post);
}
