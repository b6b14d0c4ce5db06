#include "TelegramModule.h"

#include "ChannelOperations.h"
#include "KepselHooks.h"
#include "Plugins.h"
#include "Post.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"
#include "Text.h"

#include <QCoreApplication>

namespace {

void onInstalledChange(bool installed)
{
    if (installed)
        TelegramSync::resumeBackgroundUploads();
}

} // namespace

const PluginInfo &TelegramModule::info()
{
    // Translated again on each call: the interface language may be loaded
    // after the first one.
    static PluginInfo made;
    made = PluginInfo{TelegramSync::pluginID, QCoreApplication::translate("Telegram", "Telegram 频道同步"),
                      QCoreApplication::translate("Telegram",
                                                  "把新收藏自动发到你自己的 Telegram 频道，在 Kepsel "
                                                  "里删除时频道里也一起删除。需要自己创建 Bot 和频道。"),
                      QStringLiteral("paperplane")};
    return made;
}

bool TelegramModule::isInstalled()
{
    return Plugins::isInstalledInSettings(TelegramSync::pluginID);
}

void TelegramModule::registerModule()
{
    Plugins &plugins = Plugins::shared();
    plugins.registerPlugin(info(), onInstalledChange);
    // Trimmed as the channel configuration trims it, so a pasted token with
    // a line break still counts.
    const QString token = Text::trimmingWhitespaceAndNewlines(
        TamselStore::defaults().string(SettingsKey::telegramToken).value_or(QString()));
    plugins.installOnce(TelegramSync::pluginID, !token.isEmpty());
    if (isInstalled())
        TelegramSync::resumeBackgroundUploads();
    attachHooks();
}

void TelegramModule::installFromSetupLink()
{
    Plugins::shared().setInstalled(TelegramSync::pluginID, true);
}

void TelegramModule::attachHooks()
{
    static bool attached = false;
    if (attached)
        return;
    attached = true;
    KepselHooks::postReady().append([](PostImporter &importer, std::shared_ptr<Post> post) {
        return autoSyncIfNeeded(importer, std::move(post));
    });
    KepselHooks::postDeletedBySync().append(
        [](const QUuid &id) { TelegramLedger::remove(Text::uuidText(id)); });
    // Both entries' messages stay on record: the new id's post may already
    // have messages of its own.
    KepselHooks::postIDChanged().append([](const QUuid &from, const QUuid &to) {
        TelegramLedger::merge(Text::uuidText(from), Text::uuidText(to));
    });
}
