#pragma once

#include <QList>
#include <QCoro/QCoroTask>
#include <memory>

class Post;
class PostImporter;

// Sends again, oldest first and one at a time, every post whose automatic
// send is still owed, once its media (and, with `videos`, its video files)
// are downloaded. Failures are logged and stay owed. Never throws; main thread.
QCoro::Task<> retryQueuedTelegram(PostImporter &importer, bool videos);
// Parsed posts outside the private space that were never sent, oldest first.
QList<std::shared_ptr<Post>> unsyncedPosts(PostImporter &importer);
