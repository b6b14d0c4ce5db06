#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3_stmt;
class PersistentModel;

enum class DeleteRule { nullify, cascade };

// Moves one field value between a record and a SQLite statement.
namespace ColumnCodec {
void bind(sqlite3_stmt *statement, int index, const QString &value);
void bind(sqlite3_stmt *statement, int index, qint64 value);
void bind(sqlite3_stmt *statement, int index, int value);
void bind(sqlite3_stmt *statement, int index, double value);
void bind(sqlite3_stmt *statement, int index, bool value);
void bind(sqlite3_stmt *statement, int index, const QDateTime &value);
void bind(sqlite3_stmt *statement, int index, const std::optional<QDateTime> &value);

void read(sqlite3_stmt *statement, int index, QString &value);
void read(sqlite3_stmt *statement, int index, qint64 &value);
void read(sqlite3_stmt *statement, int index, int &value);
void read(sqlite3_stmt *statement, int index, double &value);
void read(sqlite3_stmt *statement, int index, bool &value);
void read(sqlite3_stmt *statement, int index, QDateTime &value);
void read(sqlite3_stmt *statement, int index, std::optional<QDateTime> &value);
} // namespace ColumnCodec

// How a record type is stored: its table, its field columns, the to-many
// relationships it owns (kept in link tables), the inverse ends of other
// types' relationships, and its byte fields kept as files outside the rows.
struct EntityDescription {
    struct Column {
        QString name;
        std::function<void(const PersistentModel &, sqlite3_stmt *, int)> bind;
        std::function<void(PersistentModel &, sqlite3_stmt *, int)> read;
        // Read on the record's first access to it instead of at open.
        bool deferred = false;
    };
    struct Relationship {
        QString name;
        const EntityDescription &(*target)();
        DeleteRule deleteRule;
        QString inverse;
    };
    struct Inverse {
        QString name;
        const EntityDescription &(*source)();
        QString relationship;
        bool toMany;
    };

    QString name;
    // Makes an empty record for a stored row, without fresh defaults.
    std::function<std::shared_ptr<PersistentModel>()> materialize;
    std::vector<Column> columns;
    std::vector<Relationship> relationships;
    std::vector<Inverse> inverses;
    QStringList externalBlobs;
    // The fields read at open are also kept in an index of their own, which
    // the open scan reads instead of rows that carry long texts.
    bool indexedForOpen = false;

    int relationshipIndex(const QString &relationship) const;
    int inverseIndex(const QString &inverse) const;
    // Index of the inverse end, in the target type, of one of our relationships.
    int inverseSlot(int relationship) const;
    // Index of the owning relationship, in the source type, of one of our inverses.
    int sourceRelationship(int inverse) const;
    QString linkTable(int relationship) const;
    // Whether a record read at open lacks fields (deferred ones, the byte
    // files) until it is faulted in.
    bool hasDeferredParts() const;
};

// Builds a description from member pointers of the record class.
template <class Record> class EntityBuilder {
public:
    EntityBuilder(const QString &name, std::function<std::shared_ptr<PersistentModel>()> materialize)
    {
        m_entity.name = name;
        m_entity.materialize = std::move(materialize);
    }

    template <class Value> EntityBuilder &column(const QString &name, Value Record::*member)
    {
        m_entity.columns.push_back(
            {name,
             [member](const PersistentModel &record, sqlite3_stmt *statement, int index) {
                 ColumnCodec::bind(statement, index, static_cast<const Record &>(record).*member);
             },
             [member](PersistentModel &record, sqlite3_stmt *statement, int index) {
                 ColumnCodec::read(statement, index, static_cast<Record &>(record).*member);
             }});
        return *this;
    }

    // A field few screens show, left in the store until a record's first
    // access to it; its getter must fault the record in first.
    template <class Value> EntityBuilder &deferredColumn(const QString &name, Value Record::*member)
    {
        column(name, member);
        m_entity.columns.back().deferred = true;
        return *this;
    }

    EntityBuilder &toMany(const QString &name, const EntityDescription &(*target)(), DeleteRule rule,
                          const QString &inverse)
    {
        Q_ASSERT(m_entity.relationships.size() < 32); // a record keeps one dirty bit per relationship
        m_entity.relationships.push_back({name, target, rule, inverse});
        return *this;
    }

    EntityBuilder &inverse(const QString &name, const EntityDescription &(*source)(),
                           const QString &relationship, bool toMany)
    {
        m_entity.inverses.push_back({name, source, relationship, toMany});
        return *this;
    }

    EntityBuilder &externalBlob(const QString &name)
    {
        m_entity.externalBlobs.append(name);
        return *this;
    }

    EntityBuilder &indexedForOpen()
    {
        m_entity.indexedForOpen = true;
        return *this;
    }

    EntityDescription build() { return std::move(m_entity); }

private:
    EntityDescription m_entity;
};
