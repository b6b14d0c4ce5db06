#include "BackupSummary.h"

#include "BackupCoder.h"
#include "ModelContext.h"
#include "Post.h"

namespace Backup {

Summary summary(const QByteArray &data)
{
    const File file = decode(data);
    Summary summary{file.exportedAt, file.posts.size(), {}, {}};
    summary.keys.reserve(file.posts.size());
    for (const PostRecord &post : file.posts) {
        summary.keys.append({post.id, post.sourceURL});
        for (const MediaRecord &media : post.media)
            summary.mediaIDs.insert(media.id);
    }
    return summary;
}

qsizetype Summary::missing(ModelContext &context) const
{
    QSet<QUuid> ids;
    QSet<QString> links;
    for (const auto &post : context.fetch<Post>()) {
        ids.insert(post->id());
        if (!post->sourceURL().isEmpty())
            links.insert(post->sourceURL());
    }
    return std::count_if(keys.cbegin(), keys.cend(), [&](const Key &key) {
        return !ids.contains(key.id) && (key.link.isEmpty() || !links.contains(key.link));
    });
}

} // namespace Backup
