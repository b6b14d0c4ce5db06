#include "ChannelCleanUp.h"

#include "BackupJSON.h"
#include "ChannelDeletion.h"
#include "ChannelOperations.h"
#include "KitLog.h"
#include "ModelContext.h"
#include "NetworkSession.h"
#include "Post.h"
#include "PostChannelState.h"
#include "PostImporter.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"

#include <QHash>
#include <algorithm>

namespace {

// The library's posts by id, looked up once per ledger entry. Read afresh
// after every wait, since posts may come and go meanwhile.
class PostsByID {
public:
    explicit PostsByID(ModelContext &context) : m_context(context) { reload(); }

    void reload()
    {
        m_posts.clear();
        const auto posts = m_context.fetch<Post>();
        m_posts.reserve(posts.size());
        for (const auto &post : posts)
            m_posts.insert(post->id(), post);
    }
    std::shared_ptr<Post> find(const QUuid &id) const { return m_posts.value(id); }

private:
    ModelContext &m_context;
    QHash<QUuid, std::shared_ptr<Post>> m_posts;
};

// Ids on record that the post does not hold, distinct and ascending.
QList<qint64> extraIDs(const QList<qint64> &recorded, const QList<qint64> &held)
{
    const QSet<qint64> kept(held.cbegin(), held.cend());
    QList<qint64> extra;
    std::copy_if(recorded.cbegin(), recorded.cend(), std::back_inserter(extra),
                 [&](qint64 id) { return !kept.contains(id); });
    std::sort(extra.begin(), extra.end());
    extra.erase(std::unique(extra.begin(), extra.end()), extra.end());
    return extra;
}

class CleanUp {
public:
    CleanUp(PostImporter &importer, const TelegramSync::Config &config)
        : m_importer(importer), m_client(config, &NetworkSession::shared(), std::nullopt),
          m_posts(importer.context())
    {
    }

    // The entry's ids are decoded only when there is something to check:
    // an entry that reads exactly as its post's own list holds no extra id.
    QCoro::Task<> entry(const QString &key, const QString &text)
    {
        // Only the 36-character text form names a post; braces, other
        // lengths or stray characters do not.
        const auto id = Backup::Json::uuidFromText(key);
        if (!id) {
            TelegramLedger::remove(key);
            co_return;
        }
        const auto post = m_posts.find(*id);
        const bool beingSent = telegramInFlight().contains(*id);
        if (post && post->isPrivate()) {
            if (!beingSent)
                co_await privatePost(*post, key, Post::messageIDsFromText(text));
        } else if (!post) {
            co_await deletedPost(key, Post::messageIDsFromText(text));
        } else if (post->telegramSyncedAt() && !beingSent && text != post->telegramMessageIDsRaw()) {
            co_await extraMessages(*post, key, Post::messageIDsFromText(text));
        }
    }

private:
    QCoro::Task<> privatePost(Post &post, const QString &key, const QList<qint64> &ids)
    {
        qCInfo(tamselLog, "telegram cleanup: %lld message(s) of a private post", qlonglong(ids.size()));
        TelegramLedger::remove(key);
        PostChannelState::markNeverSent(post);
        PostChannelState::save(m_importer.context());
        co_await deleteMessages(ids, key);
    }

    QCoro::Task<> deletedPost(const QString &key, const QList<qint64> &ids)
    {
        qCInfo(tamselLog, "telegram cleanup: %lld message(s) of a deleted post", qlonglong(ids.size()));
        TelegramLedger::remove(key);
        co_await deleteMessages(ids, key);
    }

    QCoro::Task<> extraMessages(const Post &post, const QString &key, const QList<qint64> &ids)
    {
        const QList<qint64> held = post.telegramMessageIDs();
        const QList<qint64> extra = extraIDs(ids, held);
        if (extra.isEmpty())
            co_return;
        qCInfo(tamselLog, "telegram cleanup: %lld duplicate message(s)", qlonglong(extra.size()));
        TelegramLedger::set(held, key);
        co_await deleteMessages(extra, key);
    }

    QCoro::Task<> deleteMessages(const QList<qint64> &ids, const QString &key)
    {
        // Built before the wait: gcc 12 cannot keep an initializer list
        // alive across a suspension.
        const ChannelDeletion::Owners owners = {{key, ids}};
        co_await ChannelDeletion::runQuietly(m_client, ids, owners);
        m_posts.reload();
    }

    PostImporter &m_importer;
    TelegramSync m_client;
    PostsByID m_posts;
};

} // namespace

QCoro::Task<> cleanUpTelegram(PostImporter &importer)
{
    TelegramSync::resumeBackgroundUploads();
    const auto config = TelegramSync::config();
    if (!config)
        co_return;
    CleanUp cleanUp(importer, *config);
    const QMap<QString, QString> ledger = TelegramLedger::texts();
    for (auto it = ledger.constBegin(); it != ledger.constEnd(); ++it)
        co_await cleanUp.entry(it.key(), it.value());
}
