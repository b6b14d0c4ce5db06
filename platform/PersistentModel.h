#pragma once

#include "EntityDescription.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QUuid>
#include <memory>
#include <optional>
#include <vector>

class ModelContext;

// Base of every stored record. A record owns its field values; writes mark it
// changed in its context, which saves it and announces the change. Records
// are held through std::shared_ptr and used on the main thread only.
class PersistentModel : public std::enable_shared_from_this<PersistentModel> {
public:
    virtual ~PersistentModel();
    PersistentModel(const PersistentModel &) = delete;
    PersistentModel &operator=(const PersistentModel &) = delete;

    QUuid id() const { return m_id; }
    void setId(const QUuid &id) { write(m_id, id); }
    // Deleted from its context, or in no (live) context.
    bool isGone() const;
    ModelContext *context() const;
    const EntityDescription &entity() const { return *m_entity; }

protected:
    // Marks the constructor that materialises a stored row: no fresh defaults.
    struct Materializing {};

    explicit PersistentModel(const EntityDescription &entity);
    PersistentModel(const EntityDescription &entity, Materializing);

    // A record for a stored row, made with its use count in one allocation:
    // a large library holds hundreds of thousands of them.
    template <class Record> static std::shared_ptr<PersistentModel> materialized()
    {
        struct Made : Record {
            Made() : Record(Materializing{}) {}
        };
        return std::make_shared<Made>();
    }

    // Assigns a field; a real change marks the record changed. A record not
    // yet faulted in is first, so the save writes its stored fields back
    // (throws StoreError when they cannot be read).
    template <class Value> void write(Value &field, const Value &value)
    {
        completeForWrite();
        if (field == value)
            return;
        field = value;
        fieldsChanged();
    }

    // Reads the fields left in the store at open, once; a failure to read
    // them is logged and the fields keep their defaults.
    void faultIn() const
    {
        if (!m_complete)
            loadRest();
    }
    // A deferred field, faulted in first.
    template <class Value> const Value &deferred(const Value &field) const
    {
        faultIn();
        return field;
    }

    QList<std::shared_ptr<PersistentModel>> related(int relationship) const;
    // The list itself, for reading in place.
    const QList<std::shared_ptr<PersistentModel>> &relatedList(int relationship) const
    {
        return m_related[relationship];
    }
    // Replaces a relationship's list and keeps the inverse ends in step.
    // Deleted records link nothing and are left out.
    void setRelated(int relationship, QList<std::shared_ptr<PersistentModel>> targets);
    QList<std::shared_ptr<PersistentModel>> inverseRelated(int inverse) const;
    // Writes an inverse end by rewriting the owning sides' lists.
    void setInverseRelated(int inverse, const QList<std::shared_ptr<PersistentModel>> &sources);

    // External byte fields: read from their file on each access when stored.
    std::optional<QByteArray> blob(int index) const;
    // The length of the bytes; -1 when there are none or their file is missing.
    qint64 blobSize(int index) const;
    void setBlob(int index, std::optional<QByteArray> bytes);
    // Takes a file as the field's bytes: moved into the store's folder at
    // once, never read (a store in memory reads it and removes it). Throws
    // StoreError when the file cannot be moved; the field is unchanged then.
    void adoptBlob(int index, const QString &filePath);
    // The file that holds the bytes, a plain path any thread may read; none
    // for bytes not in a file (unsaved values, a store in memory).
    std::optional<QString> blobPath(int index) const;

    template <class T>
    static QList<std::shared_ptr<T>> downcast(const QList<std::shared_ptr<PersistentModel>> &records)
    {
        QList<std::shared_ptr<T>> typed;
        typed.reserve(records.size());
        for (const auto &record : records)
            typed.append(std::static_pointer_cast<T>(record));
        return typed;
    }

    template <class T>
    static QList<std::shared_ptr<PersistentModel>> upcast(const QList<std::shared_ptr<T>> &records)
    {
        return {records.cbegin(), records.cend()};
    }

private:
    friend class ModelContext;
    friend class RecordTable;

    struct BlobSlot {
        QString file;                    // stored file name; empty when none
        QString adopted;                 // an adopted file in the folder, not yet saved
        std::optional<QByteArray> bytes; // the value itself while resident
        bool resident = false;           // bytes is the value (unsaved, or an in-memory store)
        bool dirty = false;

        // The file that holds the current value, if any.
        const QString &currentFile() const { return adopted.isEmpty() ? file : adopted; }
    };

    void loadRest() const;
    void completeForWrite();
    void completeFromStore();
    void fieldsChanged();
    void blobChanged(BlobSlot &slot);
    void relationshipChanged(int relationship);
    void linkInverse(int relationship, PersistentModel &target);
    void unlinkInverse(int relationship, PersistentModel &target);
    void removeFromRelated(int relationship, const PersistentModel &target);
    void detachOwnerOf(int relationship, PersistentModel &target);
    bool rowDirty() const;
    void markRelationshipDirty(int relationship) { m_relationshipsDirty |= 1u << relationship; }
    bool isRelationshipDirty(int relationship) const { return (m_relationshipsDirty >> relationship) & 1u; }
    void clearDirty();

    const EntityDescription *m_entity;
    QUuid m_id;
    QPointer<ModelContext> m_context;
    qint64 m_key = 0;      // row key in its table, given at insert
    bool m_stored = false; // its row exists in the committed store
    bool m_deleted = false;
    bool m_fieldsDirty = true;
    // False while deferred fields and byte files are still only in the store.
    mutable bool m_complete = true;
    quint32 m_relationshipsDirty = 0; // one bit per relationship
    std::vector<QList<std::shared_ptr<PersistentModel>>> m_related;
    // The owned lists as they were when the record was removed, for an undo;
    // empty while it was never removed.
    std::vector<QList<std::shared_ptr<PersistentModel>>> m_detached;
    std::vector<QList<std::weak_ptr<PersistentModel>>> m_inverse;
    std::vector<BlobSlot> m_blobs; // empty until faulted in
};
