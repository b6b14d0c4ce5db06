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
    // Creates the tables when missing.
    RecordTable(SqlDatabase &database, const EntityDescription &entity);
    ~RecordTable();

    const EntityDescription &entity() const { return m_entity; }
    qint64 largestKey();
    // Materialises every stored row; the byte values stay in their files.
    void loadRows(const std::function<void(std::shared_ptr<PersistentModel>)> &take);
    // Every link of a relationship, in each owner's list order.
    void loadLinks(int relationship, const std::function<void(qint64 owner, qint64 target)> &take);

    void writeRow(const PersistentModel &record, const QStringList &blobFiles);
    void writeLinks(const PersistentModel &record, int relationship);
    void removeRow(const PersistentModel &record);

private:
    struct LinkStatements;

    void createTables();
    QString rowColumns() const;
    QString dataColumns() const;

    SqlDatabase &m_database;
    const EntityDescription &m_entity;
    std::unique_ptr<SqlDatabase::Statement> m_upsert;
    std::unique_ptr<SqlDatabase::Statement> m_delete;
    std::vector<std::unique_ptr<LinkStatements>> m_links;
};
