#include "FailingWrites.h"

#include <atomic>
#include <list>
#include <mutex>
#include <sqlite3.h>

namespace {

// SQLite's own file system gives files of different kinds (database, journal)
// different method tables; each gets a copy whose write can fail.
struct MethodTable {
    const sqlite3_io_methods *original;
    sqlite3_io_methods failing;
};

std::mutex tablesLock;
std::list<MethodTable> tables; // a list, so the copies never move
std::atomic<int> failure{0};
sqlite3_vfs *systemVFS = nullptr;
sqlite3_vfs wrappingVFS{};

const sqlite3_io_methods *originalMethods(sqlite3_file *file)
{
    const std::lock_guard locked(tablesLock);
    for (const MethodTable &table : tables)
        if (&table.failing == file->pMethods)
            return table.original;
    return nullptr;
}

int write(sqlite3_file *file, const void *bytes, int count, sqlite3_int64 offset)
{
    if (const int code = failure.load())
        return code;
    return originalMethods(file)->xWrite(file, bytes, count, offset);
}

const sqlite3_io_methods *failingCopy(const sqlite3_io_methods *original)
{
    const std::lock_guard locked(tablesLock);
    for (const MethodTable &table : tables)
        if (table.original == original)
            return &table.failing;
    MethodTable &table = tables.emplace_back(MethodTable{original, *original});
    table.failing.xWrite = write;
    return &table.failing;
}

int open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    const int result = systemVFS->xOpen(systemVFS, name, file, flags, outFlags);
    if (result == SQLITE_OK && file->pMethods)
        file->pMethods = failingCopy(file->pMethods);
    return result;
}

} // namespace

FailingWrites::FailingWrites()
{
    systemVFS = sqlite3_vfs_find(nullptr);
    wrappingVFS = *systemVFS;
    wrappingVFS.zName = "failing-writes";
    wrappingVFS.pNext = nullptr;
    wrappingVFS.xOpen = open;
    sqlite3_vfs_register(&wrappingVFS, 1);
}

FailingWrites::~FailingWrites()
{
    failure = 0;
    sqlite3_vfs_unregister(&wrappingVFS);
}

void FailingWrites::failWith(int resultCode)
{
    failure = resultCode;
}
