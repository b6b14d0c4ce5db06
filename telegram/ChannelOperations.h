#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>
#include <QCoro/QCoroTask>
#include <memory>

class Post;
class PostImporter;

// The importer's channel operations: they keep each post's message ids, send
// time and owed flag, and the ledger, in step with what stands in the
// channel. Main thread.

enum class TelegramSyncResult {
    sent,           // the send finished and was recorded
    alreadyRunning, // a send of the same post was under way; nothing was done
};

// Sends the post (again), deleting its earlier messages once the new ones are
// out. Throws TelegramSync::SyncError when no channel is configured or the
// post is private (also when it became private during the send, whose
// messages are then withdrawn), and the send's own error, which leaves the
// post and its earlier messages as they were.
QCoro::Task<TelegramSyncResult> syncToTelegram(PostImporter &importer, std::shared_ptr<Post> post);
// Sends a just-parsed post when automatic sending is on and the post is new
// here; marks it owed first, so a failure is retried later. Never throws.
QCoro::Task<> autoSyncIfNeeded(PostImporter &importer, std::shared_ptr<Post> post);
// Sends the post and writes a failure to the log after `logPrefix` ("…: "),
// for background sends that show the user nothing. Never throws.
QCoro::Task<> syncLoggingFailure(PostImporter &importer, std::shared_ptr<Post> post, const char *logPrefix);
// Withdraws the messages of posts moved into the private space: their channel
// fields are cleared and their ledger entries dropped even when the deletion
// then fails, which is thrown.
QCoro::Task<> removeFromTelegram(PostImporter &importer, QList<std::shared_ptr<Post>> posts);
// Deletes the messages of deleted posts: the given ids and those on record
// under the keys (post id texts), whose entries are dropped first. Throws
// the deletion's failure.
QCoro::Task<> deleteFromTelegram(QList<qint64> ids, QStringList keys);

// The posts whose send is running.
const QSet<QUuid> &telegramInFlight();
