#pragma once

#include <QString>

// Settings keys read by more than one part of the application.
namespace SettingsKey {
inline const QString iCloudSync = QStringLiteral("iCloudSync");
inline const QString downloadVideos = QStringLiteral("downloadVideos");
inline const QString allowDuplicates = QStringLiteral("allowDuplicates");
inline const QString watermark = QStringLiteral("watermark");
inline const QString shareCardTheme = QStringLiteral("shareCardTheme");
inline const QString libraryLayout = QStringLiteral("libraryLayout");
inline const QString telegramEnabled = QStringLiteral("telegramEnabled");
inline const QString telegramToken = QStringLiteral("telegramToken");
inline const QString telegramChatID = QStringLiteral("telegramChatID");
inline const QString telegramAutoSync = QStringLiteral("telegramAutoSync");
inline const QString telegramDeleteSync = QStringLiteral("telegramDeleteSync");
inline const QString appearance = QStringLiteral("appearance");
} // namespace SettingsKey
