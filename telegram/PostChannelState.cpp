#include "PostChannelState.h"

#include "Clock.h"
#include "ModelContext.h"
#include "Post.h"
#include "StoreError.h"

void PostChannelState::markSent(Post &post, const QList<qint64> &ids)
{
    post.setTelegramMessageIDs(ids);
    post.setTelegramSyncedAt(Clock::now());
    post.setTelegramQueued(false);
}

void PostChannelState::markNeverSent(Post &post)
{
    post.setTelegramMessageIDs({});
    post.setTelegramSyncedAt(std::nullopt);
    post.setTelegramQueued(false);
}

void PostChannelState::save(ModelContext &context)
{
    try {
        context.save();
    } catch (const StoreError &) {
    }
}
