#pragma once

#include "SqlDatabase.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct EntityDescription;
class PersistentModel;

// The SQL of one record type: its row table and one link table per owned
// relationship. Rows are keyed by the record's key, so an id may change.
class RecordTable {
public:
    // The tables must exist (createOrUpgrade). A record type indexed for
    // open gets its index here, made once.
    RecordTable(SqlDatabase &database, const EntityDescription &entity);
    ~RecordTable();

    // Creates the tables when missing and adds the columns an older store
    // lacks, filled with the fields' defaults. Run inside a transaction.
    static void createOrUpgrade(SqlDatabase &database, const EntityDescription &entity);

    const EntityDescription &entity() const { return m_entity; }
    qint64 largestKey();
    // Materialises every stored row with the fields read at open; the byte
    // values stay in their files.
    void loadRows(const std::function<void(std::shared_ptr<PersistentModel>)> &take);
    // Reads a record's deferred fields and byte file names.
    void loadRest(PersistentModel &record);
    // Every byte file name the stored rows hold.
    void loadBlobFiles(const std::function<void(const QString &)> &take);
    // Every link of a relationship, in each owner's list order.
    void loadLinks(int relationship, const std::function<void(qint64 owner, qint64 target)> &take);

    // A new record's row is inserted, so a key already taken fails the save;
    // a stored record's row is updated and must still be there.
    void writeRow(const PersistentModel &record, const QStringList &blobFiles);
    void writeLinks(const PersistentModel &record, int relationship);
    void removeRow(const PersistentModel &record);

private:
    struct LinkStatements;

    static void addMissingColumns(SqlDatabase &database, const EntityDescription &entity);
    // The fields read at open in key order. Named after its columns, so a
    // changed field list gets a fresh index.
    QString openIndexName() const;
    void ensureOpenIndex();
    void bindRow(sqlite3_stmt *statement, const PersistentModel &record, const QStringList &blobFiles) const;
    // The key and id, then the columns read at open or the deferred ones.
    QStringList selectedColumns(bool deferred) const;

    SqlDatabase &m_database;
    const EntityDescription &m_entity;
    std::unique_ptr<SqlDatabase::Statement> m_insert;
    std::unique_ptr<SqlDatabase::Statement> m_update;
    std::unique_ptr<SqlDatabase::Statement> m_delete;
    std::unique_ptr<SqlDatabase::Statement> m_rest;
    std::vector<std::unique_ptr<LinkStatements>> m_links;
};
