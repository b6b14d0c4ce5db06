#include "ModelContext.h"

#include "BlobStore.h"
#include "RecordTable.h"
#include "SqlDatabase.h"
#include "StoreError.h"

#include <QFile>
#include <QMetaObject>

ModelContext::ModelContext(SqlDatabase &database, const Schema &schema, const BlobStore *blobs,
                           QObject *parent)
    : QObject(parent), m_database(database), m_blobs(blobs)
{
    for (const EntityDescription *entity : schema)
        m_entities[entity].table = std::make_unique<RecordTable>(database, *entity);
    load();
}

ModelContext::~ModelContext() = default;

void ModelContext::load()
{
    for (auto &slot : m_entities) {
        // A named reference: clang 14 cannot capture a structured binding.
        EntityRecords &entry = slot.second;
        entry.lastKey = entry.table->largestKey();
        entry.table->loadRows([this, &entry](std::shared_ptr<PersistentModel> record) {
            record->m_context = this;
            entry.records.emplace_hint(entry.records.end(), record->m_key, std::move(record));
        });
    }
    for (auto &[entity, entry] : m_entities)
        for (size_t r = 0; r < entity->relationships.size(); ++r)
            linkLoadedRecords(entry, int(r));
}

namespace {

// Finds a key, trying the entry after the last one found first: links come
// by owner, and an owner's records were mostly inserted one after another.
template <class Map>
typename Map::const_iterator findNear(const Map &map, typename Map::const_iterator &last, qint64 key)
{
    if (last != map.end()) {
        if (last->first == key)
            return last;
        if (const auto next = std::next(last); next != map.end() && next->first == key)
            return last = next;
    }
    return last = map.find(key);
}

} // namespace

void ModelContext::linkLoadedRecords(EntityRecords &owners, int relationship)
{
    const EntityDescription &ownerEntity = owners.table->entity();
    const auto &targets = recordsFor(ownerEntity.relationships[relationship].target()).records;
    const int slot = ownerEntity.inverseSlot(relationship);
    auto lastOwner = std::as_const(owners.records).end();
    auto lastTarget = targets.end();
    owners.table->loadLinks(relationship, [&](qint64 ownerKey, qint64 targetKey) {
        const auto owner = findNear(std::as_const(owners.records), lastOwner, ownerKey);
        const auto target = findNear(targets, lastTarget, targetKey);
        if (owner == owners.records.end() || target == targets.end())
            return;
        owner->second->m_related[relationship].append(target->second);
        target->second->m_inverse[slot].append(owner->second);
    });
}

ModelContext::EntityRecords &ModelContext::recordsFor(const EntityDescription &entity)
{
    const auto found = m_entities.find(&entity);
    if (found == m_entities.end())
        throw StoreError(QStringLiteral("%1 is not in the store's schema").arg(entity.name));
    return found->second;
}

const std::map<qint64, std::shared_ptr<PersistentModel>> &
ModelContext::recordsOf(const EntityDescription &entity) const
{
    return const_cast<ModelContext *>(this)->recordsFor(entity).records;
}

void ModelContext::insertRecord(const std::shared_ptr<PersistentModel> &record)
{
    if (record && record->m_context == this && record->m_deleted)
        return reviveRecord(*record);
    if (!record || record->m_deleted || record->m_context == this)
        return;
    if (record->m_context)
        throw StoreError(QStringLiteral("a record of another context cannot be inserted"));
    EntityRecords &entry = recordsFor(record->entity());
    record->m_context = this;
    record->m_key = ++entry.lastKey;
    entry.records.emplace_hint(entry.records.end(), record->m_key, record);
    m_changed.insert(record.get());
    note(*record, Change::inserted);
    for (const auto &targets : record->m_related)
        for (const auto &target : targets)
            insertRecord(target);
    for (size_t i = 0; i < record->m_inverse.size(); ++i)
        for (const auto &source : record->inverseRelated(int(i)))
            insertRecord(source);
    scheduleChanged();
}

void ModelContext::removeRecord(PersistentModel &record)
{
    if (record.m_context != this || record.m_deleted)
        return;
    // Once its row is gone an undo can only write the record back whole.
    record.faultIn();
    const auto keep = record.shared_from_this();
    const EntityDescription &entity = record.entity();
    record.m_deleted = true;
    recordsFor(entity).records.erase(record.m_key);
    m_changed.erase(&record);
    note(record, Change::deleted);
    if (record.m_stored)
        m_removed.push_back(keep);
    record.m_detached.resize(entity.relationships.size());
    for (size_t r = 0; r < entity.relationships.size(); ++r) {
        const auto targets = std::exchange(record.m_related[r], {});
        record.m_detached[r] = targets;
        for (const auto &target : targets) {
            if (entity.relationships[r].deleteRule == DeleteRule::cascade)
                removeRecord(*target);
            else
                record.unlinkInverse(int(r), *target);
        }
    }
    for (size_t i = 0; i < entity.inverses.size(); ++i) {
        const int relationship = entity.sourceRelationship(int(i));
        const auto sources = record.inverseRelated(int(i));
        record.m_inverse[i].clear();
        for (const auto &source : sources)
            source->removeFromRelated(relationship, record);
    }
    scheduleChanged();
}

// Back in the context under its key, with the lists it owned when it was
// removed and the owned records that went with it.
void ModelContext::reviveRecord(PersistentModel &record)
{
    const auto keep = record.shared_from_this();
    record.m_deleted = false;
    recordsFor(record.entity()).records.emplace(record.m_key, keep);
    const auto removed = std::find(m_removed.begin(), m_removed.end(), keep);
    if (removed != m_removed.end())
        m_removed.erase(removed);
    else
        record.m_stored = false; // its removal was saved: the row is written anew
    m_changed.insert(&record);
    note(record, Change::inserted);
    const EntityDescription &entity = record.entity();
    const auto detached = std::exchange(record.m_detached, {});
    for (size_t r = 0; r < detached.size(); ++r) {
        const auto &targets = detached[r];
        if (entity.relationships[r].deleteRule == DeleteRule::cascade)
            for (const auto &target : targets)
                if (target->m_deleted && target->m_context == this)
                    reviveRecord(*target);
        record.setRelated(int(r), targets);
        record.markRelationshipDirty(int(r));
    }
    scheduleChanged();
}

void ModelContext::faultIn(PersistentModel &record)
{
    if (record.m_complete)
        return;
    if (record.m_stored)
        recordsFor(record.entity()).table->loadRest(record);
    record.m_complete = true;
}

void ModelContext::recordChanged(PersistentModel &record)
{
    m_changed.insert(&record);
    note(record, Change::updated);
    scheduleChanged();
}

// Keeps each record's net change until the next announcement.
void ModelContext::note(PersistentModel &record, Change change)
{
    const auto found = m_announced.find(&record);
    if (found == m_announced.end()) {
        m_announced.emplace(&record, std::pair{change, record.shared_from_this()});
        return;
    }
    Change &noted = found->second.first;
    if (noted == Change::inserted && change == Change::deleted)
        m_announced.erase(found);
    else if (noted == Change::deleted && change == Change::inserted)
        noted = Change::updated;
    else if (noted == Change::updated && change == Change::deleted)
        noted = Change::deleted;
}

void ModelContext::scheduleChanged()
{
    if (m_changePending)
        return;
    m_changePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_changePending = false;
            announceChanges();
        },
        Qt::QueuedConnection);
}

void ModelContext::removeNamedFiles(QSet<QString> &files) const
{
    for (const auto &[entity, entry] : m_entities) {
        if (entity->externalBlobs.isEmpty())
            continue;
        // The stored names come from the rows, without faulting records in;
        // unsaved and adopted ones are only in the records.
        entry.table->loadBlobFiles([&files](const QString &file) { files.remove(file); });
        for (const auto &[key, record] : entry.records)
            for (const auto &slot : record->m_blobs) {
                files.remove(slot.file);
                files.remove(slot.adopted);
            }
    }
}

void ModelContext::announceChanges()
{
    ModelChanges changes;
    for (auto &[record, noted] : std::exchange(m_announced, {})) {
        auto &list = noted.first == Change::inserted  ? changes.inserted
                     : noted.first == Change::updated ? changes.updated
                                                      : changes.deleted;
        list.append(std::move(noted.second));
    }
    emit changed(changes);
}

bool ModelContext::hasChanges() const
{
    return !m_changed.empty() || !m_removed.empty();
}

void ModelContext::save()
{
    if (!hasChanges())
        return;
    BlobFiles blobFiles;
    try {
        blobFiles = writeBlobFiles();
        writeChanges(blobFiles);
    } catch (...) {
        // Whatever stopped the save, no committed row refers to the new files.
        discardBlobFiles(blobFiles);
        throw;
    }
    finishSave(blobFiles);
    scheduleChanged();
}

// Byte values are written to new files before the transaction, so a commit
// never refers to a file that is not there yet.
ModelContext::BlobFiles ModelContext::writeBlobFiles() const
{
    BlobFiles files;
    if (!m_blobs)
        return files;
    try {
        for (PersistentModel *record : m_changed) {
            const auto &blobSlots = record->m_blobs;
            if (std::none_of(blobSlots.cbegin(), blobSlots.cend(),
                             [](const auto &slot) { return slot.dirty; }))
                continue;
            QStringList &names = files[record];
            for (const auto &slot : blobSlots)
                names.append(!slot.dirty               ? slot.file
                             : !slot.adopted.isEmpty() ? slot.adopted
                             : slot.bytes              ? m_blobs->write(*slot.bytes)
                                                       : QString());
        }
    } catch (...) {
        discardBlobFiles(files);
        throw;
    }
    return files;
}

void ModelContext::writeChanges(const BlobFiles &blobFiles)
{
    SqlDatabase::Transaction transaction(m_database);
    for (const auto &record : m_removed)
        recordsFor(record->entity()).table->removeRow(*record);
    for (PersistentModel *record : m_changed) {
        RecordTable &table = *recordsFor(record->entity()).table;
        if (record->rowDirty()) {
            record->completeForWrite();
            QStringList files;
            if (const auto found = blobFiles.find(record); found != blobFiles.end())
                files = found->second;
            else
                for (const auto &slot : record->m_blobs)
                    files.append(slot.file);
            table.writeRow(*record, files);
        }
        for (size_t r = 0; r < record->m_related.size(); ++r)
            if (!record->m_stored || record->isRelationshipDirty(int(r)))
                table.writeLinks(*record, int(r));
    }
    transaction.commit();
}

// Adopted files stay: they hold the unsaved values until the next save.
void ModelContext::discardBlobFiles(const BlobFiles &blobFiles) const
{
    for (const auto &[record, files] : blobFiles)
        for (int b = 0; b < files.size(); ++b) {
            const auto &slot = record->m_blobs[b];
            if (slot.dirty && !files[b].isEmpty() && files[b] != slot.adopted)
                m_blobs->remove(files[b]);
        }
}

// After the commit: the records are clean, replaced and deleted byte files go,
// and saved byte values leave memory until they are read again.
void ModelContext::finishSave(const BlobFiles &blobFiles)
{
    QStringList obsolete;
    for (const auto &[record, files] : blobFiles)
        for (int b = 0; b < files.size(); ++b) {
            auto &slot = record->m_blobs[b];
            if (!slot.dirty)
                continue;
            obsolete.append(slot.file);
            slot.file = files[b];
            slot.adopted.clear();
            slot.bytes.reset();
            slot.resident = false;
        }
    for (const auto &record : m_removed)
        for (const auto &slot : record->m_blobs)
            obsolete << slot.file << slot.adopted;
    for (PersistentModel *record : m_changed)
        record->clearDirty();
    m_changed.clear();
    m_removed.clear();
    if (m_blobs)
        for (const QString &file : obsolete)
            if (!file.isEmpty())
                m_blobs->remove(file);
}

std::optional<QByteArray> ModelContext::readBlob(const QString &file) const
{
    return m_blobs ? m_blobs->read(file) : std::nullopt;
}

qint64 ModelContext::blobSize(const QString &file) const
{
    return m_blobs ? m_blobs->size(file) : -1;
}

QString ModelContext::blobPath(const QString &file) const
{
    return m_blobs ? m_blobs->path(file) : QString();
}

std::optional<QString> ModelContext::adoptBlobFile(const QString &path) const
{
    if (!m_blobs)
        return std::nullopt;
    return m_blobs->adopt(path);
}

QByteArray ModelContext::takeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    file.remove();
    return bytes;
}

void ModelContext::removeBlobFile(const QString &file) const
{
    if (m_blobs)
        m_blobs->remove(file);
}
