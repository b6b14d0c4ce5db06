#pragma once

#include "BackupFile.h"

#include <QMap>
#include <QString>
#include <QStringList>

class Post;

// The user settings that travel in the backup document, and the time of the
// last restore that added posts.
namespace Backup {

inline const QString restoredAtKey = QStringLiteral("backupRestoredAt");

// The carried keys the settings hold as a Bool or a text.
QMap<QString, SettingValue> exportSettings();
// Writes the Telegram group only when no bot token is set here, and each
// general setting only when it is not set here. Returns the groups written:
// "Telegram" and the localized "偏好设置", in that order.
QStringList restoreSettings(const QMap<QString, SettingValue> &settings);
// Whether the post was created before the last restore that added posts.
bool isFromRestore(const Post &post);

} // namespace Backup
