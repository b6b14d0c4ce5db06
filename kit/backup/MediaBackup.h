#pragma once

#include "FileError.h"
#include "FileWork.h"
#include "MediaFolder.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>
#include <memory>
#include <optional>

class Media;
class ModelContext;
class Post;

// Copies the downloaded bytes of every medium of the library as files into
// the media folder "媒体" of the backup directory, so that another device
// that receives the posts through the shared document takes the bytes from
// there instead of downloading them again, and restores them from there.
// Main thread; the file work runs in a worker of low priority and is
// awaited, one file at a time.
class MediaBackup : public QObject {
    Q_OBJECT
public:
    static const QString enabledKey;
    static const QString folderName;

    static MediaBackup &shared();
    // The setting, off when absent.
    static bool isEnabled();

    // A run is in progress.
    bool running() const { return m_running; }
    // Files of the current or last run handled so far, written or skipped.
    int done() const { return m_done; }
    int total() const { return m_total; }
    // What ended the last run; cleared when a run reaches its folder.
    std::optional<QString> lastError() const { return m_lastError; }

    // Writes the file of every byte field that the folder lacks, then removes
    // files that neither the library nor any backup file names. Does nothing
    // while the setting is off, no folder is set, the backup is paused or a
    // run is in progress. Never throws: the outcome is in the fields above.
    QCoro::Task<> run(ModelContext &context);
    // Fills the posts' missing bytes from the folder and gives the ids of
    // those whose media need no download any more (a post without media
    // counts as complete). Never throws; changes none of the fields above.
    QCoro::Task<QSet<QUuid>> restore(QList<QUuid> ids, ModelContext &context);

signals:
    void runningChanged(bool running);
    void doneChanged(int done);
    void totalChanged(int total);
    void lastErrorChanged(const std::optional<QString> &lastError);

private:
    // One file a run must write.
    struct WorkItem {
        std::shared_ptr<Media> media;
        QString name;
        bool video = false;
    };

    MediaBackup();

    static QList<WorkItem> missingFiles(const QList<std::shared_ptr<Media>> &media,
                                        const MediaFolder::Listing &existing);
    QCoro::Task<> writeAll(const QList<WorkItem> &items, const QString &mediaFolder);
    // The failure's text, or none when the file was written or there was
    // nothing left to write.
    QCoro::Task<std::optional<FileError>> write(const WorkItem &item, const QString &mediaFolder);
    QCoro::Task<> pruneUnnamed(const QString &mediaFolder, const MediaFolder::Listing &existing,
                               const QList<std::shared_ptr<Media>> &media);
    QCoro::Task<> fill(std::shared_ptr<Post> post, const QString &mediaFolder,
                       const MediaFolder::Listing &existing);
    QCoro::Task<> fillField(std::shared_ptr<Media> media, bool video, const QString &mediaFolder,
                            const MediaFolder::Listing &existing);
    QCoro::Task<MediaFolder::Listing> listing(const QString &mediaFolder);

    void setRunning(bool value);
    void setDone(int value);
    void setTotal(int value);
    void setLastError(const std::optional<QString> &value);

    bool m_running = false;
    int m_done = 0;
    int m_total = 0;
    std::optional<QString> m_lastError;
    // One file at a time, behind the application's own work.
    FileWork m_fileWork{QThread::LowPriority, 1};
};
