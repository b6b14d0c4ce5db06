#include "QueuedRetry.h"

#include "ChannelOperations.h"
#include "Media.h"
#include "ModelContext.h"
#include "Post.h"
#include "PostImporter.h"
#include "TelegramSync.h"

#include <algorithm>

namespace {

QList<std::shared_ptr<Post>> oldestFirst(ModelContext &context, std::function<bool(const Post &)> predicate)
{
    FetchDescriptor<Post> descriptor;
    descriptor.predicate = std::move(predicate);
    descriptor.sortedBy = [](const Post &a, const Post &b) { return a.createdAt() < b.createdAt(); };
    return context.fetch(descriptor);
}

bool isOwed(const Post &post)
{
    return post.telegramQueued() && !post.telegramSyncedAt();
}

bool hasMediaToDownload(const Post &post, bool videos)
{
    const auto media = post.media();
    return std::any_of(media.cbegin(), media.cend(), [videos](const auto &medium) {
        return medium->needsImageDownload() || (videos && medium->needsVideoDownload());
    });
}

// Checked again before each send: an earlier send's wait may have deleted
// the post, made it private or seen it sent by another way.
bool isReadyToRetry(const Post &post, bool videos)
{
    return !post.isGone() && isOwed(post) && !post.isPrivate() && !hasMediaToDownload(post, videos);
}

} // namespace

QCoro::Task<> retryQueuedTelegram(PostImporter &importer, bool videos)
{
    if (!TelegramSync::config())
        co_return;
    const auto queued = oldestFirst(importer.context(), isOwed);
    for (const auto &post : queued) {
        if (!isReadyToRetry(*post, videos))
            continue;
        co_await syncLoggingFailure(importer, post, "telegram retry failed: ");
    }
}

QList<std::shared_ptr<Post>> unsyncedPosts(PostImporter &importer)
{
    return oldestFirst(importer.context(), [](const Post &post) {
        return !post.telegramSyncedAt() && post.parseState() == ParseState::parsed && !post.isPrivate();
    });
}
