#include "MacModel.h"

#include "ErrorMessage.h"
#include "ModelContainer.h"
#include "PasswordCheck.h"
#include "Post.h"
#include "PostImporter.h"
#include "QuietSave.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
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
    QStringList keys;
    for (const auto &post : posts) {
        keys << Text::uuidText(post->id());
        m_container->mainContext().remove(post);
    }
    saveQuietly(m_container->mainContext());
    for (const QString &key : keys)
        TelegramLedger::remove(key);
    startDetached(syncSoon(std::chrono::milliseconds(0), false), QStringLiteral("sync"));
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
        if (self)
            setPrivateUnlocked(granted);
    } catch (const PasswordCheck::CheckError &error) {
        if (self)
            show(error.message());
    }
}

void MacModel::setPrivate(const QList<std::shared_ptr<Post>> &posts, bool isPrivate)
{
    for (const auto &post : posts)
        post->setIsPrivate(isPrivate);
    saveQuietly(m_container->mainContext());
    show(isPrivate ? tr("已移到隐私空间") : tr("已移出隐私空间"));
}

void MacModel::reparse(const std::shared_ptr<Post> &post)
{
    startDetached(m_importer->refresh(post, downloadVideos()), QStringLiteral("reparse"));
}
