#pragma once

#include <QList>

class ModelContext;
class Post;

// The three fields that tell whether a post was never sent to the channel,
// is owed a send, or was sent (and with which messages).
class PostChannelState {
public:
    static void markSent(Post &post, const QList<qint64> &ids);
    static void markNeverSent(Post &post);
    // A failed save keeps the changes in the context for the next one.
    static void save(ModelContext &context);
};
