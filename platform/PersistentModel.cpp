#include "PersistentModel.h"

#include "ModelContext.h"
#include "StoreError.h"
#include "StoreLog.h"

#include <algorithm>

namespace {
bool refersTo(const std::weak_ptr<PersistentModel> &end, const PersistentModel *record)
{
    return end.lock().get() == record;
}
} // namespace

PersistentModel::PersistentModel(const EntityDescription &entity) : PersistentModel(entity, Materializing{})
{
    m_id = QUuid::createUuid();
    m_blobs.resize(size_t(entity.externalBlobs.size()));
}

PersistentModel::PersistentModel(const EntityDescription &entity, Materializing)
    : m_entity(&entity), m_related(entity.relationships.size()), m_inverse(entity.inverses.size())
{
}

PersistentModel::~PersistentModel() = default;

bool PersistentModel::isGone() const
{
    return m_deleted || m_context.isNull();
}

ModelContext *PersistentModel::context() const
{
    return m_context.data();
}

QList<std::shared_ptr<PersistentModel>> PersistentModel::related(int relationship) const
{
    return m_related[relationship];
}

void PersistentModel::setRelated(int relationship, QList<std::shared_ptr<PersistentModel>> targets)
{
    // A deleted record's row is gone and its key may be given to a new row:
    // a link from or to it would later point at a stranger.
    if (m_deleted)
        return;
    targets.removeIf([](const auto &target) { return target->m_deleted; });
    if (m_related[relationship] == targets)
        return;
    const auto old = std::exchange(m_related[relationship], targets);
    for (const auto &target : old)
        if (!targets.contains(target))
            unlinkInverse(relationship, *target);
    for (const auto &target : targets)
        if (!old.contains(target)) {
            detachOwnerOf(relationship, *target);
            linkInverse(relationship, *target);
        }
    relationshipChanged(relationship);
    if (m_context && !m_deleted)
        for (const auto &target : targets)
            m_context->insertRecord(target);
}

QList<std::shared_ptr<PersistentModel>> PersistentModel::inverseRelated(int inverse) const
{
    QList<std::shared_ptr<PersistentModel>> sources;
    for (const auto &end : m_inverse[inverse])
        if (auto source = end.lock())
            sources.append(std::move(source));
    return sources;
}

void PersistentModel::setInverseRelated(int inverse, const QList<std::shared_ptr<PersistentModel>> &sources)
{
    const int relationship = entity().sourceRelationship(inverse);
    const auto old = inverseRelated(inverse);
    for (const auto &source : old)
        if (!sources.contains(source)) {
            auto list = source->m_related[relationship];
            list.removeIf([this](const auto &target) { return target.get() == this; });
            source->setRelated(relationship, list);
        }
    for (const auto &source : sources)
        if (!old.contains(source)) {
            auto list = source->m_related[relationship];
            list.append(shared_from_this());
            source->setRelated(relationship, list);
        }
    if (m_context && !m_deleted)
        for (const auto &source : sources)
            m_context->insertRecord(source);
}

void PersistentModel::loadRest() const
{
    try {
        const_cast<PersistentModel *>(this)->completeFromStore();
    } catch (const StoreError &error) {
        qCWarning(storeLog, "%s row %lld not read: %s", qUtf8Printable(m_entity->name), m_key, error.what());
    }
}

void PersistentModel::completeForWrite()
{
    if (!m_complete)
        completeFromStore();
}

// With its store gone, what was not read stays empty.
void PersistentModel::completeFromStore()
{
    if (m_context) {
        m_context->faultIn(*this);
        return;
    }
    m_blobs.resize(size_t(m_entity->externalBlobs.size()));
    m_complete = true;
}

std::optional<QByteArray> PersistentModel::blob(int index) const
{
    faultIn();
    const BlobSlot &slot = m_blobs[index];
    if (slot.resident)
        return slot.bytes;
    if (slot.currentFile().isEmpty() || !m_context)
        return std::nullopt;
    return m_context->readBlob(slot.currentFile());
}

qint64 PersistentModel::blobSize(int index) const
{
    faultIn();
    const BlobSlot &slot = m_blobs[index];
    if (slot.resident)
        return slot.bytes ? slot.bytes->size() : -1;
    if (slot.currentFile().isEmpty() || !m_context)
        return -1;
    return m_context->blobSize(slot.currentFile());
}

std::optional<QString> PersistentModel::blobPath(int index) const
{
    faultIn();
    const BlobSlot &slot = m_blobs[index];
    if (slot.resident || slot.currentFile().isEmpty() || !m_context)
        return std::nullopt;
    return m_context->blobPath(slot.currentFile());
}

void PersistentModel::setBlob(int index, std::optional<QByteArray> bytes)
{
    completeForWrite();
    BlobSlot &slot = m_blobs[index];
    const bool unchanged = slot.resident ? slot.bytes == bytes : (slot.currentFile().isEmpty() && !bytes);
    if (unchanged)
        return;
    blobChanged(slot);
    slot.bytes = std::move(bytes);
    slot.resident = true;
}

void PersistentModel::adoptBlob(int index, const QString &filePath)
{
    if (!m_context || m_deleted)
        throw StoreError(QStringLiteral("a file can only be adopted by a record in a store"));
    completeForWrite();
    const std::optional<QString> name = m_context->adoptBlobFile(filePath);
    if (!name) {
        setBlob(index, m_context->takeFile(filePath));
        return;
    }
    BlobSlot &slot = m_blobs[index];
    blobChanged(slot);
    slot.adopted = *name;
    slot.bytes.reset();
    slot.resident = false;
}

// A replaced value that was adopted but never saved is no one's file.
void PersistentModel::blobChanged(BlobSlot &slot)
{
    if (!slot.adopted.isEmpty() && m_context)
        m_context->removeBlobFile(std::exchange(slot.adopted, QString()));
    slot.dirty = true;
    if (m_context && !m_deleted)
        m_context->recordChanged(*this);
}

void PersistentModel::fieldsChanged()
{
    m_fieldsDirty = true;
    if (m_context && !m_deleted)
        m_context->recordChanged(*this);
}

void PersistentModel::relationshipChanged(int relationship)
{
    markRelationshipDirty(relationship);
    if (m_context && !m_deleted)
        m_context->recordChanged(*this);
}

void PersistentModel::linkInverse(int relationship, PersistentModel &target)
{
    auto &ends = target.m_inverse[entity().inverseSlot(relationship)];
    if (std::none_of(ends.cbegin(), ends.cend(), [this](const auto &end) { return refersTo(end, this); }))
        ends.append(weak_from_this());
}

void PersistentModel::unlinkInverse(int relationship, PersistentModel &target)
{
    target.m_inverse[entity().inverseSlot(relationship)].removeIf(
        [this](const auto &end) { return end.expired() || refersTo(end, this); });
}

void PersistentModel::removeFromRelated(int relationship, const PersistentModel &target)
{
    if (m_related[relationship].removeIf([&](const auto &item) { return item.get() == &target; }) > 0)
        relationshipChanged(relationship);
}

// A target of a to-one inverse (a medium of a post) has one owner at a time:
// attaching it here takes it off its former owner.
void PersistentModel::detachOwnerOf(int relationship, PersistentModel &target)
{
    const int slot = entity().inverseSlot(relationship);
    if (target.entity().inverses[slot].toMany)
        return;
    for (const auto &owner : target.inverseRelated(slot))
        if (owner.get() != this)
            owner->removeFromRelated(relationship, target);
    target.m_inverse[slot].removeIf([this](const auto &end) { return !refersTo(end, this); });
}

bool PersistentModel::rowDirty() const
{
    return !m_stored || m_fieldsDirty ||
           std::any_of(m_blobs.cbegin(), m_blobs.cend(), [](const BlobSlot &slot) { return slot.dirty; });
}

void PersistentModel::clearDirty()
{
    m_stored = true;
    m_fieldsDirty = false;
    m_relationshipsDirty = 0;
    for (BlobSlot &slot : m_blobs)
        slot.dirty = false;
}
