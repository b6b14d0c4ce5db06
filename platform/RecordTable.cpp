#include "RecordTable.h"

#include "EntityDescription.h"
#include "PersistentModel.h"
#include "Text.h"

#include <sqlite3.h>

namespace {
QString quoted(const QString &identifier)
{
    return QLatin1Char('"') + identifier + QLatin1Char('"');
}

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks.append(QStringLiteral("?"));
    return marks.join(QLatin1Char(','));
}
} // namespace

struct RecordTable::LinkStatements {
    LinkStatements(SqlDatabase &database, const QString &table)
        : clear(database, QStringLiteral("DELETE FROM %1 WHERE owner = ?").arg(table)),
          insert(database,
                 QStringLiteral("INSERT INTO %1 (owner, position, target) VALUES (?,?,?)").arg(table))
    {
    }

    SqlDatabase::Statement clear;
    SqlDatabase::Statement insert;
};

RecordTable::RecordTable(SqlDatabase &database, const EntityDescription &entity)
    : m_database(database), m_entity(entity)
{
    createTables();
    const int columnCount = 2 + int(entity.columns.size()) + int(entity.externalBlobs.size());
    m_upsert = std::make_unique<SqlDatabase::Statement>(
        database, QStringLiteral("INSERT OR REPLACE INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(entity.name), rowColumns(), placeholders(columnCount)));
    m_delete = std::make_unique<SqlDatabase::Statement>(
        database, QStringLiteral("DELETE FROM %1 WHERE pk = ?").arg(quoted(entity.name)));
    for (size_t r = 0; r < entity.relationships.size(); ++r)
        m_links.push_back(std::make_unique<LinkStatements>(database, quoted(entity.linkTable(int(r)))));
}

RecordTable::~RecordTable() = default;

void RecordTable::createTables()
{
    m_database.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (pk INTEGER PRIMARY KEY, %2)")
                           .arg(quoted(m_entity.name), dataColumns()));
    for (size_t r = 0; r < m_entity.relationships.size(); ++r)
        m_database.execute(
            QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (owner INTEGER NOT NULL, position INTEGER "
                           "NOT NULL, target INTEGER NOT NULL, PRIMARY KEY (owner, position)) "
                           "WITHOUT ROWID")
                .arg(quoted(m_entity.linkTable(int(r)))));
}

QString RecordTable::rowColumns() const
{
    return QStringLiteral("pk,") + dataColumns();
}

// id, the field columns, then the file names of the external byte values.
QString RecordTable::dataColumns() const
{
    QStringList names{QStringLiteral("id")};
    for (const auto &column : m_entity.columns)
        names.append(quoted(column.name));
    for (const QString &blob : m_entity.externalBlobs)
        names.append(quoted(blob));
    return names.join(QLatin1Char(','));
}

qint64 RecordTable::largestKey()
{
    SqlDatabase::Statement query(m_database,
                                 QStringLiteral("SELECT max(pk) FROM %1").arg(quoted(m_entity.name)));
    return query.step() ? sqlite3_column_int64(query.handle(), 0) : 0;
}

void RecordTable::loadRows(const std::function<void(std::shared_ptr<PersistentModel>)> &take)
{
    SqlDatabase::Statement query(
        m_database, QStringLiteral("SELECT %1 FROM %2").arg(rowColumns(), quoted(m_entity.name)));
    sqlite3_stmt *row = query.handle();
    const int firstBlob = 2 + int(m_entity.columns.size());
    while (query.step()) {
        auto record = m_entity.materialize();
        record->m_key = sqlite3_column_int64(row, 0);
        QString id;
        ColumnCodec::read(row, 1, id);
        record->m_id = QUuid::fromString(id);
        for (size_t c = 0; c < m_entity.columns.size(); ++c)
            m_entity.columns[c].read(*record, row, 2 + int(c));
        for (size_t b = 0; b < record->m_blobs.size(); ++b)
            ColumnCodec::read(row, firstBlob + int(b), record->m_blobs[b].file);
        record->m_stored = true;
        take(std::move(record));
    }
}

void RecordTable::loadLinks(int relationship, const std::function<void(qint64, qint64)> &take)
{
    SqlDatabase::Statement query(m_database,
                                 QStringLiteral("SELECT owner, target FROM %1 ORDER BY owner, position")
                                     .arg(quoted(m_entity.linkTable(relationship))));
    while (query.step())
        take(sqlite3_column_int64(query.handle(), 0), sqlite3_column_int64(query.handle(), 1));
}

void RecordTable::writeRow(const PersistentModel &record, const QStringList &blobFiles)
{
    sqlite3_stmt *statement = m_upsert->handle();
    sqlite3_bind_int64(statement, 1, record.m_key);
    ColumnCodec::bind(statement, 2, Text::uuidText(record.m_id));
    for (size_t c = 0; c < m_entity.columns.size(); ++c)
        m_entity.columns[c].bind(record, statement, 3 + int(c));
    for (int b = 0; b < blobFiles.size(); ++b) {
        const int index = 3 + int(m_entity.columns.size()) + b;
        if (blobFiles[b].isEmpty())
            sqlite3_bind_null(statement, index);
        else
            ColumnCodec::bind(statement, index, blobFiles[b]);
    }
    m_upsert->run();
}

void RecordTable::writeLinks(const PersistentModel &record, int relationship)
{
    LinkStatements &links = *m_links[relationship];
    sqlite3_bind_int64(links.clear.handle(), 1, record.m_key);
    links.clear.run();
    const auto &targets = record.m_related[relationship];
    for (int position = 0; position < targets.size(); ++position) {
        sqlite3_bind_int64(links.insert.handle(), 1, record.m_key);
        sqlite3_bind_int64(links.insert.handle(), 2, position);
        sqlite3_bind_int64(links.insert.handle(), 3, targets[position]->m_key);
        links.insert.run();
    }
}

void RecordTable::removeRow(const PersistentModel &record)
{
    sqlite3_bind_int64(m_delete->handle(), 1, record.m_key);
    m_delete->run();
    for (auto &links : m_links) {
        sqlite3_bind_int64(links->clear.handle(), 1, record.m_key);
        links->clear.run();
    }
}
