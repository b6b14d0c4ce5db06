#include "BackupSettings.h"

#include "Post.h"
#include "SettingsKey.h"
#include "TamselStore.h"

#include <QCoreApplication>

namespace Backup {

namespace {

const QStringList &telegramKeys()
{
    static const QStringList keys{SettingsKey::telegramEnabled, SettingsKey::telegramToken,
                                  SettingsKey::telegramChatID, SettingsKey::telegramAutoSync,
                                  SettingsKey::telegramDeleteSync};
    return keys;
}

const QStringList &generalKeys()
{
    static const QStringList keys{
        SettingsKey::downloadVideos,         SettingsKey::allowDuplicates, SettingsKey::watermark,
        SettingsKey::shareCardTheme,         SettingsKey::libraryLayout,   SettingsKey::appearance,
        QStringLiteral("backupMediaEnabled")};
    return keys;
}

void writeSetting(const QString &key, const SettingValue &value)
{
    UserDefaults &defaults = TamselStore::defaults();
    if (const bool *flag = std::get_if<bool>(&value))
        defaults.setBool(key, *flag);
    else
        defaults.setString(key, std::get<QString>(value));
}

bool restoreTelegram(const QMap<QString, SettingValue> &settings)
{
    if (!TamselStore::defaults().string(SettingsKey::telegramToken).value_or(QString()).isEmpty() ||
        !settings.contains(SettingsKey::telegramToken))
        return false;
    for (const QString &key : telegramKeys())
        if (settings.contains(key))
            writeSetting(key, settings.value(key));
    return true;
}

bool restoreGeneral(const QMap<QString, SettingValue> &settings)
{
    bool wrote = false;
    for (const QString &key : generalKeys()) {
        if (TamselStore::defaults().object(key).isValid() || !settings.contains(key))
            continue;
        writeSetting(key, settings.value(key));
        wrote = true;
    }
    return wrote;
}

} // namespace

QMap<QString, SettingValue> exportSettings()
{
    QMap<QString, SettingValue> settings;
    for (const QStringList *keys : {&telegramKeys(), &generalKeys()})
        for (const QString &key : *keys) {
            const QVariant value = TamselStore::defaults().object(key);
            if (value.typeId() == QMetaType::QString)
                settings.insert(key, value.toString());
            else if (value.typeId() == QMetaType::Bool)
                settings.insert(key, value.toBool());
        }
    return settings;
}

QStringList restoreSettings(const QMap<QString, SettingValue> &settings)
{
    QStringList restored;
    if (restoreTelegram(settings))
        restored << QStringLiteral("Telegram");
    if (restoreGeneral(settings))
        restored << QCoreApplication::translate("Backup", "偏好设置");
    return restored;
}

bool isFromRestore(const Post &post)
{
    const double restoredAt = TamselStore::defaults().number(restoredAtKey);
    return restoredAt > 0 && double(post.createdAt().toMSecsSinceEpoch()) / 1000.0 < restoredAt;
}

} // namespace Backup
