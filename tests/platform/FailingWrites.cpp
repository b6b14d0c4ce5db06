#include "FailingWrites.h"

#include <algorithm>
#include <atomic>
#include <list>
#include <mutex>
#include <sqlite3.h>

namespace {

// SQLite's own file system gives each kind of file (database, journal) its own
// method table; each gets a copy whose write can fail. A list, so copies stay put.
std::list<std::pair<const sqlite3_io_methods *, sqlite3_io_methods>> tables;
std::mutex tablesLock;
std::atomic<int> failure{0};
sqlite3_vfs *systemVFS = nullptr;
sqlite3_vfs wrappingVFS{};

int write(sqlite3_file *file, const void *bytes, int count, sqlite3_int64 offset)
{
    if (const int code = failure.load())
        return code;
    const std::lock_guard locked(tablesLock);
    for (const auto &[original, copy] : tables)
        if (&copy == file->pMethods)
            return original->xWrite(file, bytes, count, offset);
    return SQLITE_IOERR_WRITE;
}

int open(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    const int result = systemVFS->xOpen(systemVFS, name, file, flags, outFlags);
    if (result != SQLITE_OK || !file->pMethods)
        return result;
    const std::lock_guard locked(tablesLock);
    auto table =
        std::find_if(tables.begin(), tables.end(), [&](auto &t) { return t.first == file->pMethods; });
    if (table == tables.end()) {
        table = tables.emplace(tables.end(), file->pMethods, *file->pMethods);
        table->second.xWrite = write;
    }
    file->pMethods = &table->second;
    return result;
}

} // namespace

FailingWrites::FailingWrites()
{
    systemVFS = sqlite3_vfs_find(nullptr);
    wrappingVFS = *systemVFS;
    wrappingVFS.zName = "failing-writes";
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
