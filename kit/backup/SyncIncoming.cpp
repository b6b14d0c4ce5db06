#include "SyncIncoming.h"

#include "BackupJSON.h"
#include "Post.h"
#include "TamselStore.h"

namespace Sync {

QSet<QString> incomingPosts()
{
    const QStringList ids = TamselStore::defaults().stringList(incomingPostsKey).value_or(QStringList());
    return {ids.cbegin(), ids.cend()};
}

void setIncomingPosts(const QSet<QString> &ids)
{
    QStringList list(ids.cbegin(), ids.cend());
    list.sort();
    TamselStore::defaults().setStringList(incomingPostsKey, list);
}

bool isIncoming(const Post &post)
{
    return incomingPosts().contains(Backup::Json::idText(post.id()));
}

} // namespace Sync
