#pragma once

#include <QSet>
#include <QString>

class Post;

// The posts that ever arrived through sync, kept by id text in the settings
// so other parts can tell them from posts saved on this device.
namespace Sync {

inline const QString incomingPostsKey = QStringLiteral("syncIncomingPosts");

QSet<QString> incomingPosts();
void setIncomingPosts(const QSet<QString> &ids);
bool isIncoming(const Post &post);

} // namespace Sync
