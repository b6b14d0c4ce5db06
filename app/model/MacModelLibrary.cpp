#include "MacModel.h"

#include "ChannelOperations.h"
#include "ErrorMessage.h"
#include "ModelContainer.h"
#include "PasswordCheck.h"
#include "Post.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"
#include "Text.h"

#include <QPointer>

std::optional<SidebarItem> MacModel::commitName()
{
    std::optional<SidebarItem> created;
    if (m_naming) {
        created = m_naming->commit(m_namingText, m_container->mainContext(),
                                   [this](const QString &name) { return m_importer->tag(name); });
    }
    setNaming(std::nullopt);
    return created;
}

void MacModel::commitDelete()
{
    if (m_deleting)
        Naming::commitDelete(*m_deleting, m_container->mainContext());
    setDeleting(std::nullopt);
}

void MacModel::deleteNow(const QList<std::shared_ptr<Post>> &posts)
{
    QList<qint64> ids;
    QStringList keys;
    for (const auto &post : posts) {
        ids += post->telegramMessageIDs();
        keys << Text::uuidText(post->id());
        m_container->mainContext().remove(post);
    }
    saveQuietly(m_container->mainContext());
    // The keys go along even without ids: a send cut off midway is on record
    // only in the ledger, and its messages would be stranded otherwise.
    if (TamselStore::defaults().boolObject(SettingsKey::telegramDeleteSync, true)) {
        startDetached(deleteFromChannel(ids, keys), QStringLiteral("channel delete"));
    } else {
        for (const QString &key : std::as_const(keys))
            TelegramLedger::remove(key);
    }
    startDetached(syncSoon(std::chrono::milliseconds(0), false), QStringLiteral("sync"));
}

QCoro::Task<> MacModel::deleteFromChannel(QList<qint64> ids, QStringList keys)
{
    QPointer<MacModel> self(this);
    try {
        co_await deleteFromTelegram(ids, keys);
    } catch (const std::exception &error) {
        if (self)
            show(errorMessage(error));
    }
}

QCoro::Task<> MacModel::unlockPrivate()
{
    if (m_privateUnlocked || !m_passwordPrompt)
        co_return;
    const std::optional<QString> password = m_passwordPrompt(tr("解锁隐私空间"));
    if (!password)
        co_return;
    QPointer<MacModel> self(this);
    try {
        const bool granted = co_await m_passwordCheck->verify(*password);
        if (!self)
            co_return;
        setPrivateUnlocked(granted);
        // Only a cancel goes unanswered.
        if (!granted)
            show(tr("登录密码不对，隐私空间没有解锁"));
    } catch (const PasswordCheck::CheckError &error) {
        if (self)
            show(error.message());
    }
}

void MacModel::setPrivate(const QList<std::shared_ptr<Post>> &posts, bool isPrivate)
{
    QList<std::shared_ptr<Post>> sent;
    for (const auto &post : posts) {
        post->setIsPrivate(isPrivate);
        if (post->telegramSyncedAt() || !post->telegramMessageIDs().isEmpty())
            sent << post;
    }
    saveQuietly(m_container->mainContext());
    // Private posts never stay in a configured channel.
    if (isPrivate && !sent.isEmpty() && TelegramSync::config())
        startDetached(removeFromChannel(sent), QStringLiteral("channel removal"));
    else
        show(isPrivate ? tr("已移到隐私空间") : tr("已移出隐私空间"));
}

QCoro::Task<> MacModel::removeFromChannel(QList<std::shared_ptr<Post>> posts)
{
    QPointer<MacModel> self(this);
    QString message;
    try {
        co_await removeFromTelegram(*m_importer, posts);
        message = tr("已移到隐私空间，并从 Telegram 频道删除");
    } catch (const std::exception &error) {
        message = tr("已移到隐私空间，但 Telegram 删除失败：%1").arg(errorMessage(error));
    }
    if (self)
        show(message);
}

void MacModel::reparse(const std::shared_ptr<Post> &post)
{
    startDetached(m_importer->refresh(post, downloadVideos()), QStringLiteral("reparse"));
}

QCoro::Task<> MacModel::syncToTelegram(std::shared_ptr<Post> post)
{
    show(tr("正在同步到 Telegram…"));
    QPointer<MacModel> self(this);
    QString message;
    try {
        const TelegramSyncResult result = co_await ::syncToTelegram(*m_importer, post);
        message = result == TelegramSyncResult::sent ? tr("已同步到 Telegram") : tr("正在同步中，稍等一下");
    } catch (const std::exception &error) {
        message = errorMessage(error);
    }
    if (self)
        show(message);
}
