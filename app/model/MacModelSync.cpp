#include "MacModel.h"

#include "BackupFolder.h"
#include "Clock.h"
#include "ErrorMessage.h"
#include "KitLog.h"
#include "Media.h"
#include "MediaBackup.h"
#include "MediaSizes.h"
#include "ModelContainer.h"
#include "Post.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "QueuedRetry.h"
#include "ChannelCleanUp.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "SyncIncoming.h"
#include "Text.h"

#include <QFileInfo>
#include <QPointer>
#include <QStringList>
#include <algorithm>

namespace {

bool lacksBytes(const Media &media)
{
    return media.kind() == MediaKind::image ? !media.hasImageData() : !media.hasVideoData();
}

// Posts that came through sync without a link to download their media from
// (notes): only the media folder can give them their bytes. The merge does
// not hand them over for parsing, so they are looked for here.
QList<QUuid> undownloadableIncoming(ModelContext &context, const QSet<QUuid> &handedOver)
{
    const QSet<QString> incoming = Sync::incomingPosts();
    FetchDescriptor<Post> descriptor;
    descriptor.predicate = [&](const Post &post) {
        if (post.platform() != Platform::local && !post.sourceURL().isEmpty())
            return false;
        if (!incoming.contains(Text::uuidText(post.id())) || handedOver.contains(post.id()))
            return false;
        const auto media = post.media();
        return std::any_of(media.cbegin(), media.cend(), [](const auto &item) { return lacksBytes(*item); });
    };
    QList<QUuid> ids;
    for (const auto &post : context.fetch(descriptor))
        ids << post->id();
    return ids;
}

} // namespace

void MacModel::adoptFolder(const QString &folder)
{
    // The folder is remembered by its path: one that is not a folder now
    // would only fail at every sync.
    if (!QFileInfo(folder).isDir())
        throw BackupFolder::FolderError(BackupFolder::FolderError::noAccess);
    BackupFolder::setFolder(folder);
}

QCoro::Task<> MacModel::sync(bool manual)
{
    if (!BackupFolder::isConfigured() || (!manual && !BackupFolder::autoBackup()) || m_syncing)
        co_return;
    // Set before the first wait, so a trigger arriving meanwhile stops above.
    setSyncing(true);
    QPointer<MacModel> self(this);
    co_await BackupFolder::fetchLatest(m_delays.fetchLatest);
    if (!self)
        co_return;
    std::optional<Sync::Result> result;
    try {
        auto cycle = BackupFolder::sync(m_container->mainContext(), manual);
        result = co_await std::move(cycle);
        if (!self)
            co_return;
        setSyncError(std::nullopt);
    } catch (const std::exception &error) {
        if (!self)
            co_return;
        const QString message = errorMessage(error);
        setSyncError(message);
        if (manual)
            show(tr("同步失败：%1").arg(message));
        qCCritical(tamselLog, "sync failed: %s", error.what());
    }
    // A paused folder gives no result: nothing was synced then.
    if (result) {
        setLastSync(Clock::now());
        co_await receive(*result, manual);
        if (!self)
            co_return;
    }
    if (MediaBackup::isEnabled())
        startDetached(MediaBackup::shared().run(m_container->mainContext()), QStringLiteral("media backup"));
    setSyncing(false);
}

// The result lives in the awaiting sync until this ends.
QCoro::Task<> MacModel::receive(const Sync::Result &result, bool manual)
{
    announce(result, manual);
    QPointer<MacModel> self(this);
    ModelContext &context = m_container->mainContext();
    const QSet<QUuid> handedOver(result.toRefresh.cbegin(), result.toRefresh.cend());
    const QList<QUuid> restoring = result.toRefresh + undownloadableIncoming(context, handedOver);
    if (!restoring.isEmpty()) {
        // Named rather than temporary: gcc destroys temporaries of a co_await
        // expression twice.
        const auto restoreAll = [restoring, &context] {
            return MediaBackup::shared().restore(restoring, context);
        };
        auto restoreTask = m_importer->holding(restoring, restoreAll);
        const QSet<QUuid> restored = co_await std::move(restoreTask);
        if (!self)
            co_return;
        // Posts complete again take back the state they had on the phone; the
        // rest stay pending for the repair pass to parse.
        FetchDescriptor<Post> descriptor;
        descriptor.predicate = [&](const Post &post) {
            return restored.contains(post.id()) && handedOver.contains(post.id());
        };
        for (const auto &post : context.fetch(descriptor))
            post->setParseState(result.originalStates.value(post->id(), ParseState::parsed));
        saveQuietly(context);
    }
    if (!result.toRefresh.isEmpty())
        co_await repair();
}

void MacModel::announce(const Sync::Result &result, bool manual)
{
    QStringList parts;
    if (result.added > 0)
        parts << tr("新增 %1").arg(result.added);
    if (result.updated > 0)
        parts << tr("更新 %1").arg(result.updated);
    if (result.deleted > 0)
        parts << tr("删除 %1").arg(result.deleted);
    if (!parts.isEmpty())
        show(tr("已从 iPhone 同步：") + parts.join(tr("，", "list separator")));
    else if (manual)
        show(tr("已同步，没有新的变化"));
}

QCoro::Task<> MacModel::repair()
{
    QPointer<MacModel> self(this);
    co_await MediaSizes::backfillIfNeeded(m_container->mainContext());
    if (!self || m_repairing)
        co_return;
    m_repairing = true;
    co_await m_importer->repairAll(downloadVideos());
    if (!self)
        co_return;
    co_await retryQueuedTelegram(*m_importer, downloadVideos());
    if (!self)
        co_return;
    if (TamselStore::defaults().boolObject(SettingsKey::telegramDeleteSync, true))
        co_await cleanUpTelegram(*m_importer);
    if (self)
        m_repairing = false;
}

void MacModel::useFolder(const QString &url)
{
    try {
        adoptFolder(url);
    } catch (const std::exception &error) {
        show(errorMessage(error));
        return;
    }
    BackupFolder::setPaused(false);
    startDetached(syncSoon(std::chrono::milliseconds(0), true), QStringLiteral("sync"));
}
