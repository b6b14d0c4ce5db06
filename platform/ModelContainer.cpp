#include "ModelContainer.h"

#include "BlobStore.h"
#include "FileError.h"
#include "LockFiles.h"
#include "RecordTable.h"
#include "SqlDatabase.h"
#include "StoreError.h"
#include "StoreLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

StoreError readOnly(const QString &storePath)
{
    return StoreError(
        QStringLiteral("The library at %1 is read-only").arg(storePath),
        QCoreApplication::translate("StoreError", "收藏库“%1”是只读的，无法保存").arg(storePath));
}

} // namespace

ModelContainer::ModelContainer(const Schema &schema, const QString &storePath, int schemaVersion)
    : m_storePath(storePath)
{
    refuseReadOnlyStore();
    lockStore();
    m_database = std::make_unique<SqlDatabase>(storePath);
    if (m_database->isReadOnly())
        throw readOnly(storePath);
    prepareSchema(schema, schemaVersion);
    m_blobs = std::make_unique<BlobStore>(supportDirectory(storePath));
    m_context = std::make_unique<ModelContext>(*m_database, schema, m_blobs.get());
    sweepOrphanFiles();
}

ModelContainer::ModelContainer(const Schema &schema) : m_database(std::make_unique<SqlDatabase>(QString()))
{
    prepareSchema(schema, 1);
    m_context = std::make_unique<ModelContext>(*m_database, schema, nullptr);
}

ModelContainer::~ModelContainer() = default;

void ModelContainer::close()
{
    if (!m_lock || !m_lock->isLocked())
        return;
    // Leaving WAL mode checkpoints the log and deletes it and its index;
    // where it cannot, the next open reads the log as before.
    try {
        m_database->execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    } catch (const StoreError &error) {
        qCWarning(storeLog, "the library's log stays beside it: %s", error.what());
    }
    m_lock->unlock();
}

QString ModelContainer::supportDirectory() const
{
    return m_storePath.isEmpty() ? QString() : supportDirectory(m_storePath);
}

QString ModelContainer::supportDirectory(const QString &storePath)
{
    const QFileInfo store(storePath);
    return store.absolutePath() + QStringLiteral("/.") + store.completeBaseName() +
           QStringLiteral("_SUPPORT");
}

// Found at open, not at the first save: SQLite would open such a store
// read-only without a word.
void ModelContainer::refuseReadOnlyStore() const
{
    const QFileInfo store(m_storePath);
    const QFileInfo folder(store.absolutePath());
    if ((store.exists() && !store.isWritable()) || (folder.isDir() && !folder.isWritable()))
        throw readOnly(m_storePath);
}

// The lock outlives no process: a lock left by one that died, or left empty
// by one killed while taking it, is taken over. An empty one may still be
// being taken, so it is waited for: only one that names its holder is
// refused.
void ModelContainer::lockStore()
{
    const QString lockPath = m_storePath + QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(lockPath);
    m_lock->setStaleLockTime(0);
    if (LockFiles::lock(*m_lock, lockPath, LockFiles::takingTime, LockFiles::Holder::refuse))
        return;
    const LockFiles::Refusal refusal = LockFiles::whyNotLocked(*m_lock, lockPath);
    const QString userMessage =
        m_lock->error() == QLockFile::LockFailedError
            ? QCoreApplication::translate("StoreError", "收藏库“%1”已经在另一个程序里打开").arg(m_storePath)
            : QCoreApplication::translate("StoreError", "无法锁定收藏库“%1”：%2")
                  .arg(m_storePath, FileError::reason(refusal.errorNumber));
    throw StoreError(QStringLiteral("Cannot lock the library at %1: %2").arg(m_storePath, refusal.cause),
                     userMessage);
}

// The version is read before anything is written, so a newer store is left
// exactly as it was.
void ModelContainer::prepareSchema(const Schema &schema, int schemaVersion)
{
    const int stored = m_database->userVersion();
    if (stored > schemaVersion)
        throw StoreError(
            QStringLiteral("The library at %1 was written by a newer version of Kepsel "
                           "(schema %2; this version reads up to %3)")
                .arg(m_storePath)
                .arg(stored)
                .arg(schemaVersion),
            QCoreApplication::translate("StoreError", "收藏库“%1”来自更新版本的 Kepsel，请先更新 App")
                .arg(m_storePath));
    m_database->execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    // Replaced and deleted byte files are removed right after the commit, so
    // the commit must survive a power loss: with NORMAL a rolled-back commit
    // would leave rows naming files that are already gone.
    m_database->execute(QStringLiteral("PRAGMA synchronous=FULL"));
    if (stored == schemaVersion)
        return;
    SqlDatabase::Transaction transaction(*m_database);
    for (const EntityDescription *entity : schema)
        RecordTable::createOrUpgrade(*m_database, *entity);
    m_database->execute(QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion));
    transaction.commit();
}

void ModelContainer::sweepOrphanFiles() const
{
    QSet<QString> orphans = m_blobs->ownFiles();
    if (orphans.isEmpty())
        return;
    m_context->removeNamedFiles(orphans);
    for (const QString &file : std::as_const(orphans)) {
        qCInfo(storeLog, "removing byte file no record names: %s", qUtf8Printable(m_blobs->path(file)));
        m_blobs->remove(file);
    }
}
