// The sync cycle of the shared backup folder: the members of BackupFolder
// that read, merge and write the shared file.
#include "BackupFolder.h"

#include "BackupCoder.h"
#include "BackupError.h"
#include "BackupExport.h"
#include "BackupSummary.h"
#include "Clock.h"
#include "FileCoordinator.h"
#include "FileError.h"
#include "KitLog.h"
#include "ModelContext.h"
#include "Post.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QCoro/QCoroTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>
#include <memory>

namespace {

constexpr std::chrono::milliseconds pollInterval{300};

UserDefaults &defaults()
{
    return TamselStore::defaults();
}

double secondsSince1970(const QDateTime &time)
{
    return double(time.toMSecsSinceEpoch()) / 1000.0;
}

qsizetype postCount(ModelContext &context)
{
    return context.fetch<Post>().size();
}

// An empty library writes only when it has deletes to hand on: otherwise a
// fresh install would wipe the phone's library.
bool isWorthWriting(const QByteArray &bytes, ModelContext &context)
{
    if (postCount(context) > 0)
        return true;
    try {
        const Backup::File file = Backup::decode(bytes);
        return file.tombstones && !file.tombstones->isEmpty();
    } catch (const Backup::BackupError &) {
        return false;
    }
}

// Only "<prefix>yyyy-MM-dd.json" is a daily copy: a user's own
// "Kepsel 备份 copy.json" must never be pruned.
bool isDailyCopy(const QString &logicalName)
{
    if (!logicalName.startsWith(BackupFolder::dailyPrefix) || !logicalName.endsWith(QStringLiteral(".json")))
        return false;
    const QString day = logicalName.mid(BackupFolder::dailyPrefix.size()).chopped(5);
    return day.size() == 10 && QDate::fromString(day, Qt::ISODate).isValid();
}

// Holds the whole read-merge-write of one process against another's, so
// neither writes a file merged from a version the other already replaced.
std::unique_ptr<QLockFile> holdCycle(const QString &directory)
{
    return FileCoordinator::hold(
        QDir(directory).filePath(BackupFolder::latestName + QStringLiteral(".sync")));
}

class AccessGuard {
public:
    explicit AccessGuard(std::function<void()> close) : m_close(std::move(close)) {}
    ~AccessGuard() { m_close(); }
    AccessGuard(const AccessGuard &) = delete;
    AccessGuard &operator=(const AccessGuard &) = delete;

private:
    std::function<void()> m_close;
};

std::unique_ptr<AccessGuard> openAccess(const QString &folder)
{
    const auto close = BackupFolder::access(folder);
    if (!close)
        throw BackupFolder::FolderError(BackupFolder::FolderError::noAccess);
    return std::make_unique<AccessGuard>(*close);
}

QString requireFolder()
{
    const auto folder = BackupFolder::folderURL();
    if (!folder)
        throw BackupFolder::FolderError(BackupFolder::FolderError::notSet);
    return *folder;
}

} // namespace

QString BackupFolder::dailyName(const QDateTime &now)
{
    return dailyPrefix + now.toUTC().date().toString(Qt::ISODate) + QStringLiteral(".json");
}

QString BackupFolder::openWorkingDirectory(const QString &folder)
{
    const QString workingDirectory = directory(folder);
    if (!QDir().mkpath(workingDirectory))
        throw FileError(QStringLiteral("Cannot create %1").arg(workingDirectory));
    return workingDirectory;
}

std::optional<Sync::Result> BackupFolder::sync(ModelContext &context, bool forceWrite)
{
    const QString folder = requireFolder();
    if (isPaused())
        return std::nullopt;
    const auto access = openAccess(folder);
    const QString workingDirectory = openWorkingDirectory(folder);
    const auto cycle = holdCycle(workingDirectory);

    const QString latest = QDir(workingDirectory).filePath(latestName);
    std::optional<QByteArray> remote;
    if (QFileInfo::exists(latest) ||
        QFileInfo::exists(QDir(workingDirectory).filePath(placeholderName(latestName))))
        remote = coordinatedRead(latest);

    const QDateTime now = Clock::now();
    const QString stateURL = QDir(TamselStore::storeDirectory()).filePath(QStringLiteral("SyncState.json"));
    Sync::Result result = Sync::merge(remote, context, stateURL, now);
    // A forced write hands on the merge's own document, stamps and
    // tombstones included, not a bare export that would lose them.
    if (forceWrite && !result.output)
        result.output = result.document;

    if (result.output && isWorthWriting(*result.output, context)) {
        writeLatestAndDaily(*result.output, workingDirectory, now);
        defaults().setNumber(lastSyncKey, secondsSince1970(now));
        qCInfo(tamselLog, "sync: +%ld ~%ld -%ld, wrote %ld bytes", long(result.added), long(result.updated),
               long(result.deleted), long(result.output->size()));
        return result;
    }
    defaults().setNumber(lastSyncKey, secondsSince1970(now));
    return result;
}

bool BackupFolder::backup(ModelContext &context, bool force)
{
    const QString folder = requireFolder();
    if (isPaused() || postCount(context) == 0)
        return false;
    const QByteArray bytes = Backup::exportLibrary(context);
    const QString fingerprint = Backup::fingerprint(bytes);
    if (!force && defaults().string(fingerprintKey) == fingerprint)
        return false;
    const auto access = openAccess(folder);
    const QString workingDirectory = openWorkingDirectory(folder);
    writeLatestAndDaily(bytes, workingDirectory, Clock::now());
    qCInfo(tamselLog, "backup written (%ld bytes)", long(bytes.size()));
    return true;
}

void BackupFolder::writeLatestAndDaily(const QByteArray &bytes, const QString &directory,
                                       const QDateTime &now)
{
    const QDir dir(directory);
    write(bytes, dir.filePath(latestName));
    write(bytes, dir.filePath(dailyName(now)));
    pruneDailyCopies(directory);
    defaults().setString(fingerprintKey, Backup::fingerprint(bytes));
    defaults().setNumber(lastBackupKey, secondsSince1970(now));
}

void BackupFolder::pruneDailyCopies(const QString &directory)
{
    const QDir dir(directory);
    QList<std::pair<QString, QString>> copies; // logical name, name on disk
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString logical = logicalName(name);
        if (isDailyCopy(logical))
            copies.append({logical, name});
    }
    std::sort(copies.begin(), copies.end(), std::greater<>());
    for (qsizetype i = keepDaily; i < copies.size(); ++i)
        QFile::remove(dir.filePath(copies[i].second));
}

QCoro::Task<void> BackupFolder::fetchLatest(std::chrono::milliseconds timeout)
{
    const auto folder = folderURL();
    if (!folder || isPaused() || !access(*folder))
        co_return;
    const QDir dir(directory(*folder));
    const QString latest = dir.filePath(latestName);
    const QString placeholder = dir.filePath(placeholderName(latestName));
    QElapsedTimer waited;
    waited.start();
    // The file is still on its way while only its placeholder is here.
    while (!QFileInfo::exists(latest) && QFileInfo::exists(placeholder)) {
        if (std::chrono::milliseconds(waited.elapsed()) >= timeout) {
            qCInfo(tamselLog, "sync: newest version of the shared file not downloaded after %s",
                   qUtf8Printable(QStringLiteral("%1 s").arg(double(timeout.count()) / 1000.0)));
            co_return;
        }
        co_await QCoro::sleepFor(pollInterval);
    }
}

qsizetype BackupFolder::checkExisting(ModelContext &context)
{
    qsizetype missing = 0;
    try {
        const QList<Entry> all = entries();
        const auto latest = std::find_if(all.begin(), all.end(), [](const Entry &e) { return e.isLatest(); });
        if (latest != all.end())
            missing = Backup::summary(read(*latest)).missing(context);
    } catch (const std::exception &) {
        missing = 0;
    }
    setPaused(missing >= 1);
    return missing;
}

std::optional<QDateTime> BackupFolder::lastBackup()
{
    const double seconds = defaults().number(lastBackupKey);
    if (!(seconds > 0))
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000.0), Qt::UTC);
}

bool BackupFolder::autoBackup()
{
    return defaults().boolObject(autoKey, true);
}

bool BackupFolder::isPaused()
{
    return defaults().boolValue(pausedKey);
}

void BackupFolder::setPaused(bool paused)
{
    defaults().setBool(pausedKey, paused);
}
