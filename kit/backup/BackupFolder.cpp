#include "BackupFolder.h"

#include "BackupJSON.h"
#include "FileCoordinator.h"
#include "FileError.h"
#include "KitLog.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

const QString BackupFolder::bookmarkKey = QStringLiteral("backupFolderBookmark");
const QString BackupFolder::subfolderKey = QStringLiteral("backupSubfolder");
const QString BackupFolder::fingerprintKey = QStringLiteral("backupLastFingerprint");
const QString BackupFolder::lastBackupKey = QStringLiteral("backupLastAt");
const QString BackupFolder::autoKey = QStringLiteral("backupAuto");
const QString BackupFolder::pausedKey = QStringLiteral("backupPausedForRestore");
const QString BackupFolder::lastSyncKey = QStringLiteral("syncLastAt");

const QString BackupFolder::subfolderName = QStringLiteral("Kepsel");
const QString BackupFolder::legacySubfolderName = QStringLiteral("Plumvat");
const QString BackupFolder::latestName = QStringLiteral("Kepsel 备份.json");
const QString BackupFolder::legacyLatestName = QStringLiteral("Plumvat 备份.json");
const QString BackupFolder::dailyPrefix = QStringLiteral("Kepsel 备份 ");
const QString BackupFolder::legacyDailyPrefix = QStringLiteral("Plumvat 备份 ");

bool BackupFolder::s_legacyNamesMigrated = false;

namespace {

const QString jsonSuffix = QStringLiteral(".json");
const QString placeholderSuffix = QStringLiteral(".icloud");

UserDefaults &defaults()
{
    return TamselStore::defaults();
}

QString child(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(name);
}

QString sibling(const QString &folder, const QString &name)
{
    return child(QFileInfo(folder).absolutePath(), name);
}

bool exists(const QString &path)
{
    return QFileInfo::exists(path);
}

// The remembered folder is its path, kept as bytes as a bookmark would be.
void storeBookmark(const QString &folder)
{
    defaults().setData(BackupFolder::bookmarkKey, QFileInfo(folder).absoluteFilePath().toUtf8());
}

QStringList listing(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                     QDir::Unsorted);
}

} // namespace

BackupFolder::FolderError::FolderError(Kind kind)
    : std::runtime_error(kind == notSet ? "backup folder not set" : "backup folder not accessible"),
      m_kind(kind)
{
}

QString BackupFolder::FolderError::message() const
{
    return m_kind == notSet
               ? QCoreApplication::translate("BackupFolder", "还没有选择备份文件夹")
               : QCoreApplication::translate("BackupFolder", "无法访问备份文件夹，请在设置里重新选择");
}

bool BackupFolder::Entry::isLatest() const
{
    return name == latestName;
}

std::optional<QString> BackupFolder::Entry::day() const
{
    if (!name.startsWith(dailyPrefix))
        return std::nullopt;
    const QString rest = name.mid(dailyPrefix.size());
    return rest.size() < jsonSuffix.size() ? QString() : rest.chopped(jsonSuffix.size());
}

bool BackupFolder::isConfigured()
{
    return defaults().contains(bookmarkKey);
}

void BackupFolder::setFolder(const QString &folder)
{
    storeBookmark(folder);
    const QString last = QFileInfo(folder).fileName();
    const bool isWorkingFolder = last == subfolderName || last == legacySubfolderName;
    defaults().setString(subfolderKey, isWorkingFolder ? QString() : subfolderName);
    defaults().remove(fingerprintKey);
}

std::optional<QString> BackupFolder::resolvedFolderURL()
{
    const auto bookmark = defaults().data(bookmarkKey);
    if (!bookmark || bookmark->isEmpty())
        return std::nullopt;
    QString folder = QString::fromUtf8(*bookmark);
    if (QFileInfo(folder).fileName() == legacySubfolderName && !exists(folder)) {
        const QString current = sibling(folder, subfolderName);
        if (QFileInfo(current).isDir()) {
            folder = current;
            storeBookmark(folder);
        }
    }
    // A folder that is gone resolves to nothing, as a dead bookmark would.
    if (!QFileInfo(folder).isDir())
        return std::nullopt;
    return folder;
}

std::optional<QString> BackupFolder::folderURL()
{
    const auto folder = resolvedFolderURL();
    if (!folder || s_legacyNamesMigrated)
        return folder;
    s_legacyNamesMigrated = true;
    return migrateLegacyNames(*folder) ? resolvedFolderURL() : folder;
}

std::optional<QString> BackupFolder::displayName()
{
    const auto folder = folderURL();
    if (!folder)
        return std::nullopt;
    const QString name = QFileInfo(*folder).fileName();
    const QString subfolder = defaults().string(subfolderKey).value_or(QString());
    return subfolder.isEmpty() ? name : name + QLatin1Char('/') + subfolder;
}

void BackupFolder::clear()
{
    for (const QString &key : {bookmarkKey, subfolderKey, fingerprintKey, pausedKey})
        defaults().remove(key);
}

QString BackupFolder::directory(const QString &folder)
{
    const QString subfolder = defaults().string(subfolderKey).value_or(QString());
    return subfolder.isEmpty() ? folder : child(folder, subfolder);
}

std::optional<std::function<void()>> BackupFolder::access(const QString &folder)
{
    // There is no sandbox scope to open here: readable is accessible.
    const QFileInfo info(folder);
    if (!info.exists() || !info.isReadable())
        return std::nullopt;
    return std::function<void()>([] {});
}

QByteArray BackupFolder::read(const QString &path)
{
    return coordinatedRead(path);
}

QByteArray BackupFolder::read(const Entry &entry)
{
    const auto folder = folderURL();
    if (!folder)
        throw FolderError(FolderError::notSet);
    const auto close = access(*folder);
    if (!close)
        throw FolderError(FolderError::noAccess);
    try {
        QByteArray data = coordinatedRead(entry.path);
        (*close)();
        return data;
    } catch (...) {
        (*close)();
        throw;
    }
}

QList<BackupFolder::Entry> BackupFolder::entries()
{
    const auto folder = folderURL();
    if (!folder)
        throw FolderError(FolderError::notSet);
    const auto close = access(*folder);
    if (!close)
        throw FolderError(FolderError::noAccess);
    const QString workingDirectory = directory(*folder);
    QSet<QString> names;
    for (const QString &name : listing(workingDirectory))
        names.insert(logicalName(name));
    (*close)();

    QStringList daily;
    for (const QString &name : std::as_const(names)) {
        if (name.startsWith(dailyPrefix) && name.endsWith(jsonSuffix))
            daily.append(name);
    }
    std::sort(daily.begin(), daily.end(), std::greater<QString>());
    if (names.contains(latestName))
        daily.prepend(latestName);

    QList<Entry> result;
    for (const QString &name : std::as_const(daily))
        result.append({child(workingDirectory, name), name});
    return result;
}

QString BackupFolder::placeholderName(const QString &name)
{
    return QLatin1Char('.') + name + placeholderSuffix;
}

QString BackupFolder::logicalName(const QString &entryName)
{
    if (entryName.startsWith(QLatin1Char('.')) && entryName.endsWith(placeholderSuffix))
        return entryName.mid(1, entryName.size() - 1 - placeholderSuffix.size());
    return entryName;
}

QByteArray BackupFolder::coordinatedRead(const QString &path)
{
    // A hostile or damaged file is refused before it fills the memory.
    Backup::Json::requireDocumentSize(QFileInfo(path).size());
    return FileCoordinator::read(path);
}

void BackupFolder::write(const QByteArray &data, const QString &path)
{
    FileCoordinator::write(data, path);
}

void BackupFolder::move(const QString &source, const QString &target)
{
    FileCoordinator::move(source, target);
}

bool BackupFolder::migrateLegacyNames(const QString &scope)
{
    const auto close = access(scope);
    if (!close)
        return false;
    if (!migrateSubfolder(scope)) {
        (*close)();
        return false;
    }
    const auto moved = migrateFolderItself(scope);
    migrateFileNames(directory(moved.value_or(scope)));
    (*close)();
    return moved.has_value();
}

bool BackupFolder::migrateSubfolder(const QString &folder)
{
    const QString subfolder = defaults().string(subfolderKey).value_or(QString());
    if (subfolder == legacySubfolderName)
        defaults().setString(subfolderKey, subfolderName);
    if (subfolder.isEmpty())
        return true;
    const QString legacy = child(folder, legacySubfolderName);
    const QString current = child(folder, subfolderName);
    if (!exists(legacy) || exists(current))
        return true;
    try {
        move(legacy, current);
        qCInfo(tamselLog, "migrate: renamed subfolder Plumvat → Kepsel");
    } catch (const FileError &error) {
        qCCritical(tamselLog, "migrate: subfolder rename failed: %s", qUtf8Printable(error.description()));
        defaults().setString(subfolderKey, legacySubfolderName);
        return false;
    }
    return true;
}

std::optional<QString> BackupFolder::migrateFolderItself(const QString &folder)
{
    const bool emptySubfolder = defaults().string(subfolderKey).value_or(QString()).isEmpty();
    if (!emptySubfolder || QFileInfo(folder).fileName() != legacySubfolderName)
        return std::nullopt;
    const QString target = sibling(folder, subfolderName);
    if (exists(target))
        return std::nullopt;
    try {
        move(folder, target);
    } catch (const FileError &) {
        return std::nullopt;
    }
    qCInfo(tamselLog, "migrate: renamed folder %s → %s", qUtf8Printable(folder),
           qUtf8Printable(QFileInfo(target).fileName()));
    setFolder(target);
    return target;
}

std::optional<QString> BackupFolder::currentName(const QString &legacyName)
{
    if (legacyName == legacyLatestName)
        return latestName;
    if (legacyName.startsWith(legacyDailyPrefix) && legacyName.endsWith(jsonSuffix))
        return dailyPrefix + legacyName.mid(legacyDailyPrefix.size());
    return std::nullopt;
}

void BackupFolder::migrateFileNames(const QString &directory)
{
    const QStringList present = listing(directory);
    for (const QString &entryName : present) {
        const QString name = logicalName(entryName);
        const auto newName = currentName(name);
        if (!newName || present.contains(*newName) || present.contains(placeholderName(*newName)))
            continue;
        // A placeholder moves as a placeholder: the file behind it is not here yet.
        const bool isPlaceholder = entryName != name;
        const QString source = child(directory, entryName);
        const QString target = child(directory, isPlaceholder ? placeholderName(*newName) : *newName);
        try {
            move(source, target);
        } catch (const FileError &error) {
            qCCritical(tamselLog, "migrate: %s rename failed: %s", qUtf8Printable(name),
                       qUtf8Printable(error.description()));
        }
    }
}

void BackupFolder::resetLegacyMigrationForTesting()
{
    s_legacyNamesMigrated = false;
}
