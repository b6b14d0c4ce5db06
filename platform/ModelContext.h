#pragma once

#include "FetchDescriptor.h"
#include "ModelChanges.h"
#include "PersistentModel.h"

#include <QObject>
#include <QSet>
#include <algorithm>
#include <map>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class BlobStore;
class RecordTable;
class SqlDatabase;

// The live set of records of a store: one object per row (every row is
// loaded when the context opens with the fields the first screens need; the
// deferred fields and byte files on a record's first access to them), inserts
// and deletes that fetches see before they are saved, and save() that writes
// only the changed records in one transaction. Main thread only.
class ModelContext : public QObject {
    Q_OBJECT
public:
    using Schema = QList<const EntityDescription *>;

    // Loads every record of the schema; blobs is null for a store in memory,
    // whose byte values then stay in memory. Throws StoreError.
    ModelContext(SqlDatabase &database, const Schema &schema, const BlobStore *blobs,
                 QObject *parent = nullptr);
    ~ModelContext() override;

    // Also inserts the records it relates to. Inserting a record removed from
    // this context undoes the removal, with the records it owned.
    template <class T> void insert(const std::shared_ptr<T> &record) { insertRecord(record); }

    // Cascades to owned records and takes the record out of every list that
    // holds it.
    template <class T> void remove(const std::shared_ptr<T> &record)
    {
        if (record)
            removeRecord(*record);
    }

    template <class T> QList<std::shared_ptr<T>> fetch(const FetchDescriptor<T> &descriptor = {}) const
    {
        QList<std::shared_ptr<T>> result;
        for (const auto &[key, record] : recordsOf(T::entityDescription())) {
            const T &typed = static_cast<const T &>(*record);
            if (!descriptor.predicate || descriptor.predicate(typed))
                result.append(std::static_pointer_cast<T>(record));
        }
        if (descriptor.sortedBy)
            std::stable_sort(result.begin(), result.end(),
                             [&](const auto &a, const auto &b) { return descriptor.sortedBy(*a, *b); });
        if (descriptor.limit > 0 && result.size() > descriptor.limit)
            result.resize(descriptor.limit);
        return result;
    }

    // Writes every change in one transaction. On failure nothing is written,
    // every change stays for the next save, and StoreError is thrown.
    void save();
    bool hasChanges() const;
    // Takes the byte files the records name, saved or not, out of `files`.
    void removeNamedFiles(QSet<QString> &files) const;

signals:
    // At most once per event-loop turn, after any insert, delete, write or
    // save, with the records changed since the last time.
    void changed(const ModelChanges &changes);

private:
    friend class PersistentModel;

    struct EntityRecords {
        std::unique_ptr<RecordTable> table;
        std::map<qint64, std::shared_ptr<PersistentModel>> records; // by key, in insertion order
        qint64 lastKey = 0;
    };
    // The file of every byte field of a record after the save, for records
    // with a changed byte field; the changed ones are new files.
    using BlobFiles = std::unordered_map<PersistentModel *, QStringList>;

    void load();
    void linkLoadedRecords(EntityRecords &owners, int relationship);
    EntityRecords &recordsFor(const EntityDescription &entity);
    const std::map<qint64, std::shared_ptr<PersistentModel>> &
    recordsOf(const EntityDescription &entity) const;

    enum class Change { inserted, updated, deleted };

    void insertRecord(const std::shared_ptr<PersistentModel> &record);
    void reviveRecord(PersistentModel &record);
    void removeRecord(PersistentModel &record);
    void recordChanged(PersistentModel &record);
    // Reads a stored record's deferred fields and byte files; throws StoreError.
    void faultIn(PersistentModel &record);
    void note(PersistentModel &record, Change change);
    void scheduleChanged();
    void announceChanges();

    BlobFiles writeBlobFiles() const;
    void writeChanges(const BlobFiles &blobFiles);
    void discardBlobFiles(const BlobFiles &blobFiles) const;
    void finishSave(const BlobFiles &blobFiles);

    std::optional<QByteArray> readBlob(const QString &file) const;
    qint64 blobSize(const QString &file) const;
    QString blobPath(const QString &file) const;
    // The name of the file moved into the store's folder; none for a store
    // in memory, which keeps no files.
    std::optional<QString> adoptBlobFile(const QString &path) const;
    // A file's bytes for a store in memory; the file is removed.
    static QByteArray takeFile(const QString &path);
    void removeBlobFile(const QString &file) const;

    SqlDatabase &m_database;
    const BlobStore *m_blobs;
    std::unordered_map<const EntityDescription *, EntityRecords> m_entities;
    std::unordered_set<PersistentModel *> m_changed;
    std::vector<std::shared_ptr<PersistentModel>> m_removed; // stored rows to delete
    bool m_changePending = false;
    std::unordered_map<PersistentModel *, std::pair<Change, std::shared_ptr<PersistentModel>>> m_announced;
};
