#pragma once

#include "SyncMerge.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>

// The shared backup folder: the one folder, chosen by the user or found in
// the cloud drive, that holds the backup file, its daily copies and the media
// backup, and through which the desktop and phone applications exchange the
// library. The chosen folder is remembered as its absolute path in the
// settings; every read, write and move in it is coordinated with other
// processes. Main thread only; the file work of the sync cycle runs in a
// worker and is awaited.
class ModelContext;

class BackupFolder {
public:
    class FolderError : public std::runtime_error {
    public:
        enum Kind { notSet, noAccess };

        explicit FolderError(Kind kind);
        Kind kind() const { return m_kind; }
        // The user message, in the interface language.
        QString message() const;
        bool operator==(const FolderError &other) const { return m_kind == other.m_kind; }

    private:
        Kind m_kind;
    };

    // One backup file of the working folder, addressed by its logical name
    // also while only its cloud placeholder is present.
    struct Entry {
        QString path;
        QString name;

        QString id() const { return name; }
        bool isLatest() const;
        // The yyyy-MM-dd part of a daily copy's name; none for other names.
        std::optional<QString> day() const;
    };

    static const QString bookmarkKey;
    static const QString subfolderKey;
    static const QString fingerprintKey;
    static const QString lastBackupKey;
    static const QString autoKey;
    static const QString pausedKey;
    static const QString lastSyncKey;

    static const QString subfolderName;
    static const QString legacySubfolderName;
    static const QString latestName;
    static const QString legacyLatestName;
    static const QString dailyPrefix;
    static const QString legacyDailyPrefix;
    static constexpr int keepDaily = 7;

    static bool isConfigured();
    // Remembers a folder; its working folder is the folder itself when it is
    // named like one, otherwise a "Kepsel" folder inside it.
    static void setFolder(const QString &folder);
    // The chosen folder (after the once-per-process renaming of former
    // names); none when no folder is chosen or it no longer exists.
    static std::optional<QString> folderURL();
    static std::optional<QString> displayName();
    static void clear();

    static QString directory(const QString &folder);
    // Opens access to a folder: the action that closes it again, or none when
    // the folder cannot be read.
    static std::optional<std::function<void()>> access(const QString &folder);
    static QByteArray read(const QString &path);
    static QByteArray read(const Entry &entry);
    // The latest file first, then the daily copies, newest day first.
    static QList<Entry> entries();
    static bool migrateLegacyNames(const QString &scope);

    // One sync cycle: merges the shared file with the library and writes the
    // result back as the latest file and the day's copy. None while paused,
    // or when the context is gone before the shared file is read. Awaiting
    // it throws FolderError, FileError, Backup::BackupError and StoreError.
    static QCoro::Task<std::optional<Sync::Result>> sync(ModelContext &context, bool forceWrite);
    // One-way backup of the library; true when the files were written.
    static QCoro::Task<bool> backup(ModelContext &context, bool force);
    // Waits, up to the timeout, while the shared file is present only as a
    // placeholder, so the sync that follows reads its newest version.
    static QCoro::Task<void> fetchLatest(std::chrono::milliseconds timeout);
    // How many posts of the shared file the library lacks; pauses backup and
    // sync while there are any.
    static QCoro::Task<qsizetype> checkExisting(ModelContext &context);
    static std::optional<QDateTime> lastBackup();
    static bool autoBackup();
    static bool isPaused();
    static void setPaused(bool paused);
    // The name of the day's copy, by the UTC day of `now`.
    static QString dailyName(const QDateTime &now);

    // The cloud placeholder's name form: "." + name + ".icloud".
    static QString placeholderName(const QString &name);
    static QString logicalName(const QString &entryName);

    // For the sync cycle and the media backup.
    static std::optional<QString> resolvedFolderURL();
    static QByteArray coordinatedRead(const QString &path);
    static void write(const QByteArray &data, const QString &path);
    static void move(const QString &source, const QString &target);

    // Lets tests run the once-per-process renaming again.
    static void resetLegacyMigrationForTesting();

private:
    // False when the former subfolder could not be renamed: nothing else moves then.
    static bool migrateSubfolder(const QString &folder);
    static std::optional<QString> migrateFolderItself(const QString &folder);
    static void migrateFileNames(const QString &directory);
    static std::optional<QString> currentName(const QString &legacyName);

    // Writes in a worker, then remembers what was written.
    static QCoro::Task<> writeLatestAndDaily(QByteArray bytes, QString directory, QDateTime now);

    static bool s_legacyNamesMigrated;
};
