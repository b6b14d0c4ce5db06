#include "RecordTable.h"

#include "EntityDescription.h"
#include "PersistentModel.h"
#include "StoreError.h"
#include "Text.h"

#include <QCryptographicHash>
#include <QSet>

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

// id, the field columns, then the file names of the external byte values.
QStringList dataColumns(const EntityDescription &entity)
{
    QStringList names{QStringLiteral("id")};
    for (const auto &column : entity.columns)
        names.append(quoted(column.name));
    for (const QString &blob : entity.externalBlobs)
        names.append(quoted(blob));
    return names;
}

QSet<QString> storedColumns(SqlDatabase &database, const QString &table)
{
    QSet<QString> names;
    SqlDatabase::Statement query(database, QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table)));
    while (query.step())
        names.insert(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(query.handle(), 1))));
    return names;
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
    const QString table = quoted(entity.name);
    const QStringList columns = dataColumns(entity);
    m_insert = std::make_unique<SqlDatabase::Statement>(
        database, QStringLiteral("INSERT INTO %1 (%2,pk) VALUES (%3)")
                      .arg(table, columns.join(QLatin1Char(',')), placeholders(int(columns.size()) + 1)));
    m_update = std::make_unique<SqlDatabase::Statement>(
        database,
        QStringLiteral("UPDATE %1 SET %2=? WHERE pk=?").arg(table, columns.join(QStringLiteral("=?,"))));
    m_delete = std::make_unique<SqlDatabase::Statement>(
        database, QStringLiteral("DELETE FROM %1 WHERE pk = ?").arg(table));
    if (entity.indexedForOpen)
        ensureOpenIndex();
    if (entity.hasDeferredParts())
        m_rest = std::make_unique<SqlDatabase::Statement>(
            database, QStringLiteral("SELECT %1 FROM %2 WHERE pk = ?")
                          .arg(selectedColumns(true).join(QLatin1Char(',')), table));
    for (size_t r = 0; r < entity.relationships.size(); ++r)
        m_links.push_back(std::make_unique<LinkStatements>(database, quoted(entity.linkTable(int(r)))));
}

RecordTable::~RecordTable() = default;

void RecordTable::createOrUpgrade(SqlDatabase &database, const EntityDescription &entity)
{
    database.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (pk INTEGER PRIMARY KEY, %2)")
                         .arg(quoted(entity.name), dataColumns(entity).join(QLatin1Char(','))));
    addMissingColumns(database, entity);
    for (size_t r = 0; r < entity.relationships.size(); ++r)
        database.execute(
            QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (owner INTEGER NOT NULL, position INTEGER "
                           "NOT NULL, target INTEGER NOT NULL, PRIMARY KEY (owner, position)) "
                           "WITHOUT ROWID")
                .arg(quoted(entity.linkTable(int(r)))));
}

// A field added since the store was written gets its column, holding the
// value a new record starts with.
void RecordTable::addMissingColumns(SqlDatabase &database, const EntityDescription &entity)
{
    const QString table = quoted(entity.name);
    const QSet<QString> stored = storedColumns(database, entity.name);
    const auto fresh = entity.materialize();
    for (const auto &column : entity.columns) {
        if (stored.contains(column.name))
            continue;
        database.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, quoted(column.name)));
        SqlDatabase::Statement fill(database,
                                    QStringLiteral("UPDATE %1 SET %2 = ?").arg(table, quoted(column.name)));
        column.bind(*fresh, fill.handle(), 1);
        fill.run();
    }
    for (const QString &blob : entity.externalBlobs)
        if (!stored.contains(blob))
            database.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table, quoted(blob)));
}

QString RecordTable::openIndexName() const
{
    const QByteArray columns = selectedColumns(false).join(QLatin1Char(',')).toUtf8();
    const QByteArray digest = QCryptographicHash::hash(columns, QCryptographicHash::Sha1).toHex().left(8);
    return m_entity.name + QStringLiteral("_open_") + QString::fromLatin1(digest);
}

void RecordTable::ensureOpenIndex()
{
    const QString wanted = openIndexName();
    QStringList present;
    {
        SqlDatabase::Statement query(
            m_database,
            QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ?"));
        ColumnCodec::bind(query.handle(), 1, m_entity.name);
        while (query.step()) {
            QString name;
            ColumnCodec::read(query.handle(), 0, name);
            if (name.startsWith(m_entity.name + QStringLiteral("_open_")))
                present.append(name);
        }
    }
    if (present.contains(wanted))
        return;
    SqlDatabase::Transaction transaction(m_database);
    for (const QString &outdated : std::as_const(present))
        m_database.execute(QStringLiteral("DROP INDEX %1").arg(quoted(outdated)));
    m_database.execute(
        QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
            .arg(quoted(wanted), quoted(m_entity.name), selectedColumns(false).join(QLatin1Char(','))));
    transaction.commit();
}

QStringList RecordTable::selectedColumns(bool deferred) const
{
    QStringList names;
    if (!deferred)
        names << QStringLiteral("pk") << QStringLiteral("id");
    for (const auto &column : m_entity.columns)
        if (column.deferred == deferred)
            names.append(quoted(column.name));
    if (deferred)
        for (const QString &blob : m_entity.externalBlobs)
            names.append(quoted(blob));
    return names;
}

qint64 RecordTable::largestKey()
{
    SqlDatabase::Statement query(m_database,
                                 QStringLiteral("SELECT max(pk) FROM %1").arg(quoted(m_entity.name)));
    return query.step() ? sqlite3_column_int64(query.handle(), 0) : 0;
}

void RecordTable::loadRows(const std::function<void(std::shared_ptr<PersistentModel>)> &take)
{
    const bool complete = !m_entity.hasDeferredParts();
    const QString source =
        !m_entity.indexedForOpen
            ? quoted(m_entity.name)
            : QStringLiteral("%1 INDEXED BY %2").arg(quoted(m_entity.name), quoted(openIndexName()));
    SqlDatabase::Statement query(
        m_database,
        QStringLiteral("SELECT %1 FROM %2").arg(selectedColumns(false).join(QLatin1Char(',')), source));
    sqlite3_stmt *row = query.handle();
    while (query.step()) {
        auto record = m_entity.materialize();
        record->m_key = sqlite3_column_int64(row, 0);
        // Parsed from the column's own bytes: no text is made for it.
        record->m_id = QUuid::fromString(QLatin1StringView(
            reinterpret_cast<const char *>(sqlite3_column_text(row, 1)), sqlite3_column_bytes(row, 1)));
        int index = 2;
        for (const auto &column : m_entity.columns)
            if (!column.deferred)
                column.read(*record, row, index++);
        record->m_stored = true;
        record->m_complete = complete;
        take(std::move(record));
    }
}

void RecordTable::loadRest(PersistentModel &record)
{
    // Sized first: a failed read leaves the fields empty, not missing.
    record.m_blobs.resize(size_t(m_entity.externalBlobs.size()));
    sqlite3_bind_int64(m_rest->handle(), 1, record.m_key);
    const bool found = m_rest->step();
    sqlite3_stmt *row = m_rest->handle();
    if (found) {
        int index = 0;
        for (const auto &column : m_entity.columns)
            if (column.deferred)
                column.read(record, row, index++);
        for (auto &slot : record.m_blobs)
            ColumnCodec::read(row, index++, slot.file);
    }
    m_rest->reset();
}

void RecordTable::loadBlobFiles(const std::function<void(const QString &)> &take)
{
    QStringList named;
    for (const QString &blob : m_entity.externalBlobs)
        named.append(quoted(blob));
    SqlDatabase::Statement query(
        m_database,
        QStringLiteral("SELECT %1 FROM %2").arg(named.join(QLatin1Char(',')), quoted(m_entity.name)));
    QString file;
    while (query.step())
        for (int b = 0; b < named.size(); ++b) {
            ColumnCodec::read(query.handle(), b, file);
            if (!file.isEmpty())
                take(file);
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
    SqlDatabase::Statement &statement = record.m_stored ? *m_update : *m_insert;
    bindRow(statement.handle(), record, blobFiles);
    statement.run();
    if (record.m_stored && statement.changes() == 0)
        throw StoreError(
            QStringLiteral("%1 row %2 is missing from the store").arg(m_entity.name).arg(record.m_key));
}

// id, the fields, the byte files, then the key.
void RecordTable::bindRow(sqlite3_stmt *statement, const PersistentModel &record,
                          const QStringList &blobFiles) const
{
    ColumnCodec::bind(statement, 1, Text::uuidText(record.m_id));
    for (size_t c = 0; c < m_entity.columns.size(); ++c)
        m_entity.columns[c].bind(record, statement, 2 + int(c));
    const int firstBlob = 2 + int(m_entity.columns.size());
    for (int b = 0; b < blobFiles.size(); ++b) {
        if (blobFiles[b].isEmpty())
            sqlite3_bind_null(statement, firstBlob + b);
        else
            ColumnCodec::bind(statement, firstBlob + b, blobFiles[b]);
    }
    sqlite3_bind_int64(statement, firstBlob + int(m_entity.externalBlobs.size()), record.m_key);
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
