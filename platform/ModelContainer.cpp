#include "ModelContainer.h"

#include "BlobStore.h"
#include "SqlDatabase.h"

#include <QFileInfo>

ModelContainer::ModelContainer(const Schema &schema, const QString &storePath)
    : m_storePath(storePath), m_database(std::make_unique<SqlDatabase>(storePath)),
      m_blobs(std::make_unique<BlobStore>(supportDirectory(storePath)))
{
    // The first statements read the file header: a file that is not a
    // database fails here, before anything is written to it.
    m_database->execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    // Replaced and deleted byte files are removed right after the commit, so
    // the commit must survive a power loss: with NORMAL a rolled-back commit
    // would leave rows naming files that are already gone.
    m_database->execute(QStringLiteral("PRAGMA synchronous=FULL"));
    m_context = std::make_unique<ModelContext>(*m_database, schema, m_blobs.get());
}

ModelContainer::ModelContainer(const Schema &schema) : m_database(std::make_unique<SqlDatabase>(QString()))
{
    m_context = std::make_unique<ModelContext>(*m_database, schema, nullptr);
}

ModelContainer::~ModelContainer() = default;

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
