#pragma once

#include "ModelContext.h"

#include <QString>
#include <memory>

class BlobStore;
class QLockFile;
class SqlDatabase;

// A store of records: a SQLite file in write-ahead-log mode, with the byte
// fields kept in external storage as files in ".<store name>_SUPPORT" beside
// it, or a database in memory only. Owns the main context.
//
// A store on disk has one owner: the container holds an exclusive lock on it
// for its whole life (or until close()), and a second opener, in this
// process or another, is refused. The store records the schema version it was written with: an
// older store is upgraded in place (new fields get columns holding their
// defaults) in one transaction, a newer one is refused untouched. Byte files
// no row names, left by a crash between writing them and the commit, are
// removed at open.
class ModelContainer {
public:
    using Schema = ModelContext::Schema;

    // Opens the store file, creating it when missing. Throws StoreError with
    // the store's path when it is locked by another opener, read-only, of a
    // newer schema or no database; an existing file is never reset or deleted.
    ModelContainer(const Schema &schema, const QString &storePath, int schemaVersion = 1);
    // A store in memory only.
    explicit ModelContainer(const Schema &schema);
    ~ModelContainer();
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;

    // Leaves the store file holding the whole library and lets the next
    // opener in: the write-ahead log is folded into the file and removed,
    // and the lock released. For the end of the process; a save after it
    // still reaches the file.
    void close();

    ModelContext &mainContext() { return *m_context; }
    // Empty for a store in memory.
    QString storePath() const { return m_storePath; }
    QString supportDirectory() const;

    static QString supportDirectory(const QString &storePath);

private:
    void lockStore();
    void refuseReadOnlyStore() const;
    void prepareSchema(const Schema &schema, int schemaVersion);
    void sweepOrphanFiles() const;

    QString m_storePath;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<SqlDatabase> m_database;
    std::unique_ptr<BlobStore> m_blobs;
    std::unique_ptr<ModelContext> m_context;
};
