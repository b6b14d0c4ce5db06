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
#include "FileWork.h"
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
#include <QPointer>
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

// Several threads: a cycle waiting for another's lock must not hold up the
// writes of the cycle that has it.
FileWork &fileWork()
{
    static FileWork work(QThread::NormalPriority);
    return work;
}

void makeWorkingDirectory(const QString &directory)
{
    errno = 0;
    if (!QDir().mkpath(directory))
        throw FileError(FileError::Action::create, directory, errno);
}

// A cycle that holds the folder: its lock, and the shared file as it was
// then, none when the folder has none.
struct OpenedCycle {
    std::unique_ptr<QLockFile> lock;
    std::optional<QByteArray> remote;
};

// In the worker: waits for another process's cycle to end, then reads.
OpenedCycle openCycle(const QString &directory)
{
    makeWorkingDirectory(directory);
    OpenedCycle cycle{holdCycle(directory), std::nullopt};
    const QDir dir(directory);
    const QString latest = dir.filePath(BackupFolder::latestName);
    if (QFileInfo::exists(latest) ||
        QFileInfo::exists(dir.filePath(BackupFolder::placeholderName(BackupFolder::latestName))))
        cycle.remote = BackupFolder::coordinatedRead(latest);
    return cycle;
}

// In the worker.
void pruneDailyCopies(const QString &directory)
{
    const QDir dir(directory);
    QList<std::pair<QString, QString>> copies; // logical name, name on disk
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString logical = BackupFolder::logicalName(name);
        if (isDailyCopy(logical))
            copies.append({logical, name});
    }
    std::sort(copies.begin(), copies.end(), std::greater<>());
    for (qsizetype i = BackupFolder::keepDaily; i < copies.size(); ++i)
        QFile::remove(dir.filePath(copies[i].second));
}

// In the worker: the fingerprint of the bytes once they are written.
QString writeFiles(const QByteArray &bytes, const QString &directory, const QDateTime &now)
{
    makeWorkingDirectory(directory);
    const QDir dir(directory);
    BackupFolder::write(bytes, dir.filePath(BackupFolder::latestName));
    BackupFolder::write(bytes, dir.filePath(BackupFolder::dailyName(now)));
    pruneDailyCopies(directory);
    return Backup::fingerprint(bytes);
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

QCoro::Task<std::optional<Sync::Result>> BackupFolder::sync(ModelContext &context, bool forceWrite)
{
    const QString folder = requireFolder();
    if (isPaused())
        co_return std::nullopt;
    const auto access = openAccess(folder);
    const QString workingDirectory = directory(folder);
    const QPointer<ModelContext> alive(&context);
    auto opening = fileWork().run([workingDirectory] { return openCycle(workingDirectory); });
    const OpenedCycle cycle = co_await std::move(opening);
    // The store is read only now that the bytes are in; it may have closed meanwhile.
    if (!alive)
        co_return std::nullopt;

    const QDateTime now = Clock::now();
    const QString stateURL = QDir(TamselStore::storeDirectory()).filePath(QStringLiteral("SyncState.json"));
    Sync::Result result = Sync::merge(cycle.remote, *alive, stateURL, now);
    // A forced write hands on the merge's own document, stamps and
    // tombstones included, not a bare export that would lose them.
    if (forceWrite && !result.output)
        result.output = result.document;

    if (result.output && isWorthWriting(*result.output, *alive)) {
        auto writing = writeLatestAndDaily(*result.output, workingDirectory, now);
        co_await std::move(writing);
        qCInfo(tamselLog, "sync: +%ld ~%ld -%ld, wrote %ld bytes", long(result.added), long(result.updated),
               long(result.deleted), long(result.output->size()));
    }
    defaults().setNumber(lastSyncKey, secondsSince1970(now));
    co_return result;
}

QCoro::Task<bool> BackupFolder::backup(ModelContext &context, bool force)
{
    const QString folder = requireFolder();
    if (isPaused() || postCount(context) == 0)
        co_return false;
    const QByteArray bytes = Backup::exportLibrary(context);
    const QString fingerprint = Backup::fingerprint(bytes);
    if (!force && defaults().string(fingerprintKey) == fingerprint)
        co_return false;
    const auto access = openAccess(folder);
    auto writing = writeLatestAndDaily(bytes, directory(folder), Clock::now());
    co_await std::move(writing);
    qCInfo(tamselLog, "backup written (%ld bytes)", long(bytes.size()));
    co_return true;
}

QCoro::Task<> BackupFolder::writeLatestAndDaily(QByteArray bytes, QString directory, QDateTime now)
{
    auto writing = fileWork().run([=] { return writeFiles(bytes, directory, now); });
    const QString fingerprint = co_await std::move(writing);
    defaults().setString(fingerprintKey, fingerprint);
    defaults().setNumber(lastBackupKey, secondsSince1970(now));
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

QCoro::Task<qsizetype> BackupFolder::checkExisting(ModelContext &context)
{
    const QPointer<ModelContext> alive(&context);
    qsizetype missing = 0;
    try {
        const QString folder = requireFolder();
        const auto access = openAccess(folder);
        const QString latest = QDir(directory(folder)).filePath(latestName);
        auto reading = fileWork().run([latest] { return Backup::summary(coordinatedRead(latest)); });
        const Backup::Summary shared = co_await std::move(reading);
        if (alive)
            missing = shared.missing(*alive);
    } catch (const std::exception &) {
        missing = 0;
    }
    setPaused(missing >= 1);
    co_return missing;
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
