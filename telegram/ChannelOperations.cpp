#include "ChannelOperations.h"

#include "BackupSettings.h"
#include "ChannelDeletion.h"
#include "KitLog.h"
#include "NetworkSession.h"
#include "Post.h"
#include "PostChannelState.h"
#include "PostImporter.h"
#include "SyncError.h"
#include "SyncIncoming.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"
#include "Text.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <algorithm>

namespace {

using SyncError = TelegramSync::SyncError;

QSet<QUuid> &inFlight()
{
    static QSet<QUuid> ids;
    return ids;
}

SyncError privatePostError()
{
    return SyncError::api(QCoreApplication::translate("Telegram", "隐私空间的收藏不同步到 Telegram"));
}

QList<qint64> distinctSorted(QList<qint64> ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

QList<qint64> without(const QList<qint64> &ids, const QList<qint64> &removed)
{
    const QSet<qint64> gone(removed.cbegin(), removed.cend());
    QList<qint64> kept;
    std::copy_if(ids.cbegin(), ids.cend(), std::back_inserter(kept),
                 [&](qint64 id) { return !gone.contains(id); });
    return kept;
}

// The post left the library or went private while it was being sent: every
// message of it comes out of the channel and off the record. Private posts
// end with their error, deleted ones count as sent.
QCoro::Task<TelegramSyncResult> withdrawLeftPost(std::shared_ptr<Post> post, TelegramSync client, QString key,
                                                 QList<qint64> ids)
{
    TelegramLedger::remove(key);
    const ChannelDeletion::Owners owners = {{key, ids}};
    co_await ChannelDeletion::runQuietly(client, ids, owners);
    if (!post->isGone() && post->isPrivate())
        throw privatePostError();
    co_return TelegramSyncResult::sent;
}

bool hasLeft(const Post &post)
{
    return post.isGone() || post.isPrivate();
}

// Deletes the given messages and those on record under the keys, whose
// entries go first; the owners say under which key each id is put back when
// the deletion is to be tried again.
QCoro::Task<> deleteOwned(TelegramSync::Config config, QList<qint64> ids, ChannelDeletion::Owners owners)
{
    for (auto &[key, owned] : owners) {
        const QList<qint64> recorded = TelegramLedger::ids(key);
        TelegramLedger::remove(key);
        owned += recorded;
        ids += recorded;
    }
    ids = distinctSorted(ids);
    if (ids.isEmpty())
        co_return;
    qCInfo(tamselLog, "telegram delete %lld message(s)", qlonglong(ids.size()));
    const TelegramSync client(std::move(config), &NetworkSession::shared(), std::nullopt);
    co_await ChannelDeletion::run(client, ids, owners);
}

bool owesAutomaticSend(const Post &post)
{
    return TelegramSync::autoSync() && !post.isGone() && !post.telegramSyncedAt() &&
           post.parseState() == ParseState::parsed && !post.isPrivate() && !Backup::isFromRestore(post) &&
           !Sync::isIncoming(post);
}

} // namespace

const QSet<QUuid> &telegramInFlight()
{
    return inFlight();
}

QCoro::Task<TelegramSyncResult> syncToTelegram(PostImporter &importer, std::shared_ptr<Post> post)
{
    const auto config = TelegramSync::config();
    if (!config)
        throw SyncError::api(QCoreApplication::translate("Telegram", "还没有配置频道"));
    if (post->isPrivate())
        throw privatePostError();
    const QUuid id = post->id();
    if (inFlight().contains(id))
        co_return TelegramSyncResult::alreadyRunning;
    inFlight().insert(id);
    const auto release = qScopeGuard([id] { inFlight().remove(id); });

    const QString key = Text::uuidText(id);
    const TelegramSync client(*config, &NetworkSession::shared(), key);
    const TelegramSync::Payload payload = co_await TelegramSync::payload(post);
    // Messages of an earlier send, including those of one cut off before
    // the post recorded them.
    const QList<qint64> old = distinctSorted(post->telegramMessageIDs() + TelegramLedger::ids(key));
    if (hasLeft(*post))
        co_return co_await withdrawLeftPost(post, client, key, old);

    const QList<qint64> fresh = co_await client.send(payload);
    if (hasLeft(*post))
        co_return co_await withdrawLeftPost(post, client, key, old + fresh);

    PostChannelState::markSent(*post, fresh);
    PostChannelState::save(importer.context());
    TelegramLedger::set(fresh, key);
    const QList<qint64> stale = without(old, fresh);
    const ChannelDeletion::Owners owners = {{key, stale}};
    if (!stale.isEmpty())
        co_await ChannelDeletion::runQuietly(client, stale, owners);
    co_return TelegramSyncResult::sent;
}

QCoro::Task<> autoSyncIfNeeded(PostImporter &importer, std::shared_ptr<Post> post)
{
    if (!TelegramSync::config() || !owesAutomaticSend(*post))
        co_return;
    post->setTelegramQueued(true);
    PostChannelState::save(importer.context());
    co_await syncLoggingFailure(importer, post, "telegram sync failed, will retry: ");
}

QCoro::Task<> syncLoggingFailure(PostImporter &importer, std::shared_ptr<Post> post, const char *logPrefix)
{
    try {
        co_await syncToTelegram(importer, post);
    } catch (const std::exception &error) {
        qCCritical(tamselLog, "%s%s", logPrefix, error.what());
    } catch (...) {
        qCCritical(tamselLog, "%sunknown error", logPrefix);
    }
}

QCoro::Task<> removeFromTelegram(PostImporter &importer, QList<std::shared_ptr<Post>> posts)
{
    const auto config = TelegramSync::config();
    if (!config)
        co_return;
    QList<qint64> ids;
    ChannelDeletion::Owners owners;
    for (const auto &post : posts) {
        ids += post->telegramMessageIDs();
        owners.append({Text::uuidText(post->id()), post->telegramMessageIDs()});
        PostChannelState::markNeverSent(*post);
    }
    PostChannelState::save(importer.context());
    co_await deleteOwned(*config, ids, owners);
}

QCoro::Task<> deleteFromTelegram(QList<qint64> ids, QStringList keys)
{
    const auto config = TelegramSync::config();
    if (!config)
        co_return;
    ChannelDeletion::Owners owners;
    for (const QString &key : keys)
        owners.append({key, {}});
    // Which post each given id came from is not known; any deleted post's
    // key is as good for the clean-up to try them again.
    if (!owners.isEmpty())
        owners.first().second = ids;
    co_await deleteOwned(*config, ids, owners);
}
