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

PostKeys::PostKeys(ModelContext &context)
{
    for (const auto &post : context.fetch<Post>()) {
        m_ids.insert(post->id());
        if (!post->sourceURL().isEmpty())
            m_links.insert(post->sourceURL());
    }
}

qsizetype Summary::missing(ModelContext &context) const
{
    const PostKeys library(context);
    return std::count_if(keys.cbegin(), keys.cend(),
                         [&](const Key &key) { return !library.has(key.id, key.link); });
}

} // namespace Backup
