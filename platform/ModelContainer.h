#pragma once

#include "ModelContext.h"

#include <QString>
#include <memory>

class BlobStore;
class SqlDatabase;

// A store of records: a SQLite file in write-ahead-log mode, with the byte
// fields kept in external storage as files in ".<store name>_SUPPORT" beside
// it, or a database in memory only. Owns the main context.
class ModelContainer {
public:
    using Schema = ModelContext::Schema;

    // Opens the store file, creating it when missing. Throws StoreError; an
    // existing file is never reset or deleted.
    ModelContainer(const Schema &schema, const QString &storePath);
    // A store in memory only.
    explicit ModelContainer(const Schema &schema);
    ~ModelContainer();
    ModelContainer(const ModelContainer &) = delete;
    ModelContainer &operator=(const ModelContainer &) = delete;

    ModelContext &mainContext() { return *m_context; }
    // Empty for a store in memory.
    QString storePath() const { return m_storePath; }
    QString supportDirectory() const;

    static QString supportDirectory(const QString &storePath);

private:
    QString m_storePath;
    std::unique_ptr<SqlDatabase> m_database;
    std::unique_ptr<BlobStore> m_blobs;
    std::unique_ptr<ModelContext> m_context;
};
