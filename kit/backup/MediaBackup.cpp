#include "MediaBackup.h"

#include "BackupFolder.h"
#include "BackupSummary.h"
#include "FileCoordinator.h"
#include "FileError.h"
#include "KitLog.h"
#include "Media.h"
#include "ModelContext.h"
#include "Post.h"
#include "StoreError.h"
#include "TamselStore.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <variant>

const QString MediaBackup::enabledKey = QStringLiteral("backupMediaEnabled");
const QString MediaBackup::folderName = QStringLiteral("媒体");

namespace {

// A medium's bytes for the worker: the store's file that holds them, or the
// bytes themselves while they are not saved yet.
using ByteSource = std::variant<QString, QByteArray>;

std::optional<ByteSource> byteSource(const Media &media, bool video)
{
    if (auto file = video ? media.videoDataFilePath() : media.dataFilePath())
        return ByteSource(*file);
    if (auto bytes = video ? media.videoData() : media.data())
        return ByteSource(*bytes);
    return std::nullopt;
}

// In the worker. A store file replaced since it was asked for holds
// nothing to write any more; one that is there but cannot be read is a
// failed write, never a file counted as backed up.
std::optional<QByteArray> bytesOf(const ByteSource &source)
{
    const auto *file = std::get_if<QString>(&source);
    if (!file)
        return std::get<QByteArray>(source);
    errno = 0;
    QFile stored(*file);
    if (!stored.open(QIODevice::ReadOnly)) {
        const int error = errno;
        if (!stored.exists())
            return std::nullopt;
        throw FileError(FileError::Action::read, *file, error);
    }
    QByteArray bytes = stored.readAll();
    if (stored.error() != QFileDevice::NoError)
        throw FileError(FileError::Action::read, *file, errno);
    return bytes;
}

// In the worker: the failure, or none.
std::optional<FileError> copyToFolder(const ByteSource &source, const QString &target)
{
    try {
        if (const auto bytes = bytesOf(source))
            FileCoordinator::write(*bytes, target);
    } catch (const FileError &error) {
        return error;
    }
    return std::nullopt;
}

std::optional<QByteArray> readQuietly(const QString &path)
{
    try {
        return MediaFolder::read(path);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// In the worker. The media ids of every backup file join `keep`; when any of
// them cannot be read, nothing is removed, since its media are unknown.
void pruneKeeping(const QString &mediaFolder, const MediaFolder::Listing &existing, QSet<QUuid> keep,
                  const QStringList &backupFiles)
{
    try {
        for (const QString &path : backupFiles)
            keep.unite(Backup::summary(BackupFolder::coordinatedRead(path)).mediaIDs);
    } catch (const std::exception &) {
        return;
    }
    MediaFolder::prune(mediaFolder, existing, keep);
}

std::optional<FileError> makeFolder(const QString &path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    if (!error)
        return std::nullopt;
    return FileError(FileError::Action::create, path, error.value());
}

QString mediaFolderIn(const QString &folder)
{
    return QDir(BackupFolder::directory(folder)).filePath(MediaBackup::folderName);
}

std::shared_ptr<Post> findPost(ModelContext &context, const QUuid &id)
{
    return context.fetch<Post>({[&id](const Post &post) { return post.id() == id; }, {}, 1}).value(0);
}

bool needsNoDownload(const Post &post)
{
    const auto media = post.media();
    return std::none_of(media.cbegin(), media.cend(), [](const auto &item) {
        return item->needsImageDownload() || item->needsVideoDownload();
    });
}

} // namespace

MediaBackup::MediaBackup() = default;

MediaBackup &MediaBackup::shared()
{
    static MediaBackup instance;
    return instance;
}

bool MediaBackup::isEnabled()
{
    return TamselStore::defaults().boolValue(enabledKey);
}

QCoro::Task<> MediaBackup::run(ModelContext &context)
{
    const bool paused = TamselStore::defaults().boolValue(BackupFolder::pausedKey);
    if (!isEnabled() || !BackupFolder::isConfigured() || paused || m_running)
        co_return;
    const auto folder = BackupFolder::folderURL();
    if (!folder)
        co_return;
    const auto endAccess = BackupFolder::access(*folder);
    if (!endAccess) {
        setLastError(tr("无法访问备份文件夹"));
        co_return;
    }
    setRunning(true);
    setLastError(std::nullopt);
    const auto finish = qScopeGuard([&] {
        setRunning(false);
        (*endAccess)();
    });

    const QString mediaFolder = mediaFolderIn(*folder);
    if (const auto error = makeFolder(mediaFolder)) {
        setLastError(error->message());
        co_return;
    }
    const QPointer<ModelContext> alive(&context);
    const auto existing = co_await listing(mediaFolder);
    if (!alive)
        co_return;
    const auto media = alive->fetch<Media>();
    const auto items = missingFiles(media, existing);
    setTotal(int(items.size()));
    setDone(0);
    co_await writeAll(items, mediaFolder);
    if (!m_lastError && alive)
        co_await pruneUnnamed(mediaFolder, existing, media);
}

QList<MediaBackup::WorkItem> MediaBackup::missingFiles(const QList<std::shared_ptr<Media>> &media,
                                                       const MediaFolder::Listing &existing)
{
    QList<WorkItem> items;
    for (const auto &item : media) {
        if (item->isGone())
            continue;
        const QString image = MediaFolder::imageName(item->id());
        if (item->hasImageData() && !existing.contains(image))
            items.append({item, image, false});
        const QString video = MediaFolder::videoName(item->id());
        if (item->hasVideoData() && !existing.contains(video))
            items.append({item, video, true});
    }
    return items;
}

QCoro::Task<> MediaBackup::writeAll(const QList<WorkItem> &items, const QString &mediaFolder)
{
    for (const WorkItem &item : items) {
        if (const auto error = co_await write(item, mediaFolder)) {
            setLastError(error->message());
            qCCritical(tamselLog, "media backup failed: %s", error->what());
            co_return;
        }
        setDone(m_done + 1);
    }
}

QCoro::Task<std::optional<FileError>> MediaBackup::write(const WorkItem &item, const QString &mediaFolder)
{
    if (item.media->isGone())
        co_return std::nullopt;
    const auto source = byteSource(*item.media, item.video);
    if (!source)
        co_return std::nullopt;
    auto copying = m_fileWork.run([source = *source, target = QDir(mediaFolder).filePath(item.name)] {
        return copyToFolder(source, target);
    });
    co_return co_await std::move(copying);
}

QCoro::Task<> MediaBackup::pruneUnnamed(const QString &mediaFolder, const MediaFolder::Listing &existing,
                                        const QList<std::shared_ptr<Media>> &media)
{
    QList<BackupFolder::Entry> backups;
    try {
        backups = BackupFolder::entries();
    } catch (const BackupFolder::FolderError &) {
        co_return;
    }
    // Without the latest file the media of the other devices' posts are
    // named nowhere here: removing by the library alone would lose them.
    if (std::none_of(backups.cbegin(), backups.cend(), [](const auto &entry) { return entry.isLatest(); }))
        co_return;
    QStringList backupFiles;
    for (const auto &entry : std::as_const(backups))
        backupFiles.append(entry.path);
    QSet<QUuid> keep;
    for (const auto &item : media) {
        if (!item->isGone())
            keep.insert(item->id());
    }
    auto pruning = m_fileWork.run([=] { pruneKeeping(mediaFolder, existing, keep, backupFiles); });
    co_await std::move(pruning);
}

QCoro::Task<QSet<QUuid>> MediaBackup::restore(QList<QUuid> ids, ModelContext &context)
{
    const QPointer<ModelContext> alive(&context);
    QSet<QUuid> complete;
    const auto folder = BackupFolder::folderURL();
    if (!folder)
        co_return complete;
    const auto endAccess = BackupFolder::access(*folder);
    if (!endAccess)
        co_return complete;
    const auto finish = qScopeGuard(*endAccess);

    const QString mediaFolder = mediaFolderIn(*folder);
    const auto existing = co_await listing(mediaFolder);
    if (existing.isEmpty())
        co_return complete;
    for (const QUuid &id : std::as_const(ids)) {
        if (!alive)
            break;
        const auto post = findPost(*alive, id);
        if (!post)
            continue;
        co_await fill(post, mediaFolder, existing);
        // Deleted while its files were read: nothing to save or to report.
        if (post->isGone())
            continue;
        try {
            post->context()->save();
        } catch (const StoreError &) {
            // The post is judged by its media in memory; the next save retries.
        }
        if (needsNoDownload(*post))
            complete.insert(id);
    }
    co_return complete;
}

QCoro::Task<> MediaBackup::fill(std::shared_ptr<Post> post, const QString &mediaFolder,
                                const MediaFolder::Listing &existing)
{
    for (const auto &media : post->sortedMedia()) {
        co_await fillField(media, false, mediaFolder, existing);
        co_await fillField(media, true, mediaFolder, existing);
    }
}

QCoro::Task<> MediaBackup::fillField(std::shared_ptr<Media> media, bool video, const QString &mediaFolder,
                                     const MediaFolder::Listing &existing)
{
    const auto present = [&] { return video ? media->hasVideoData() : media->hasImageData(); };
    if (media->isGone() || present())
        co_return;
    const QString name = video ? MediaFolder::videoName(media->id()) : MediaFolder::imageName(media->id());
    const auto onDisk = existing.constFind(name);
    if (onDisk == existing.cend())
        co_return;
    auto reading = m_fileWork.run([path = QDir(mediaFolder).filePath(*onDisk)] { return readQuietly(path); });
    const auto bytes = co_await std::move(reading);
    // Deleted (with its post, perhaps) or downloaded while the file was read.
    if (!bytes || media->isGone() || present())
        co_return;
    if (video)
        media->setVideo(*bytes);
    else
        media->setImage(*bytes);
}

QCoro::Task<MediaFolder::Listing> MediaBackup::listing(const QString &mediaFolder)
{
    auto listed = m_fileWork.run([mediaFolder] { return MediaFolder::listing(mediaFolder); });
    co_return co_await std::move(listed);
}

void MediaBackup::setRunning(bool value)
{
    if (m_running == value)
        return;
    m_running = value;
    emit runningChanged(value);
}

void MediaBackup::setDone(int value)
{
    if (m_done == value)
        return;
    m_done = value;
    emit doneChanged(value);
}

void MediaBackup::setTotal(int value)
{
    if (m_total == value)
        return;
    m_total = value;
    emit totalChanged(value);
}

void MediaBackup::setLastError(const std::optional<QString> &value)
{
    if (m_lastError == value)
        return;
    m_lastError = value;
    emit lastErrorChanged(value);
}
