// Opening, saving and fetching in a library of 10,000 and of 100,000 posts
// (a few hundred characters of text and three pictures each), each beside a
// bare SQLite pass over the same tables. Opening also reports the resident memory it adds beside the
// size of the database file.

#include "BenchStore.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "RunBenchmarks.h"
#include "TamselStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <map>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr int largest = 100'000;

// Built once per size and process, and shared by every benchmark.
QString libraryPath(int postCount = largest)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &folder = folders[postCount];
    const QString storePath = [&] {
        if (!folder)
            folder = std::make_unique<QTemporaryDir>();
        return folder->path() + QStringLiteral("/Kepsel.store");
    }();
    if (!QFileInfo::exists(storePath))
        BenchStore::generate(storePath, postCount);
    return storePath;
}

ModelContainer &openLibrary()
{
    static ModelContainer container(TamselStore::schema(), libraryPath());
    return container;
}

// A plain connection for the comparison passes.
class RawStore {
public:
    explicit RawStore(int postCount = largest)
    {
        sqlite3_open(libraryPath(postCount).toUtf8().constData(), &m_db);
    }
    ~RawStore() { sqlite3_close(m_db); }

    // Reads every column of every row, as loading records must.
    int64_t scan(const char *sql) const { return BenchStore::readRows(m_db, sql); }
    void execute(const char *sql) const { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3 *m_db = nullptr;
};

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// The most resident memory the work added, beside the database's size, in MB.
template <class Work> void reportMemory(benchmark::State &state, int postCount, Work work)
{
    constexpr double megabyte = 1024.0 * 1024.0;
    qint64 added = 0;
    for (auto _ : state) {
        const qint64 before = residentBytes();
        work([&] { added = std::max(added, residentBytes() - before); });
    }
    state.counters["addedMB"] = double(added) / megabyte;
    state.counters["databaseMB"] = double(BenchStore::fileSize(libraryPath(postCount))) / megabyte;
}

void openStore(benchmark::State &state)
{
    const int postCount = int(state.range(0));
    const QString path = libraryPath(postCount);
    reportMemory(state, postCount, [&](auto measure) {
        auto container = std::make_unique<ModelContainer>(TamselStore::schema(), path);
        measure();
        benchmark::DoNotOptimize(container.get());
        // Closing is not opening.
        state.PauseTiming();
        container.reset();
        state.ResumeTiming();
    });
}
BENCHMARK(openStore)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

void openStoreBareSqlite(benchmark::State &state)
{
    const int postCount = int(state.range(0));
    reportMemory(state, postCount, [&](auto measure) {
        RawStore store(postCount);
        benchmark::DoNotOptimize(store.scan("SELECT * FROM Post") + store.scan("SELECT * FROM Media") +
                                 store.scan("SELECT owner, target FROM Post_media ORDER BY owner, position"));
        measure();
    });
}
BENCHMARK(openStoreBareSqlite)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

void saveOneChange(benchmark::State &state)
{
    auto &context = openLibrary().mainContext();
    const auto post = context.fetch<Post>(FetchDescriptor<Post>{{}, {}, 1}).first();
    int round = 0;
    for (auto _ : state) {
        post->setNote(QStringLiteral("note %1").arg(++round));
        context.save();
    }
}
BENCHMARK(saveOneChange)->Unit(benchmark::kMicrosecond);

void saveOneChangeBareSqlite(benchmark::State &state)
{
    RawStore store;
    sqlite3 *db = nullptr;
    sqlite3_open(libraryPath().toUtf8().constData(), &db);
    // The same durability as the store, so the two compare like for like.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    int round = 0;
    for (auto _ : state) {
        const QByteArray sql =
            QStringLiteral("BEGIN IMMEDIATE; UPDATE Post SET note = 'note %1' WHERE pk = 1; COMMIT")
                .arg(++round)
                .toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}
BENCHMARK(saveOneChangeBareSqlite)->Unit(benchmark::kMicrosecond);

void fetchPostsByCreation(benchmark::State &state)
{
    auto &context = openLibrary().mainContext();
    FetchDescriptor<Post> newestFirst;
    newestFirst.sortedBy = [](const Post &a, const Post &b) { return a.createdAt() > b.createdAt(); };
    for (auto _ : state)
        benchmark::DoNotOptimize(context.fetch(newestFirst).size());
}
BENCHMARK(fetchPostsByCreation)->Unit(benchmark::kMillisecond);

void fetchPostsByCreationBareSqlite(benchmark::State &state)
{
    RawStore store;
    for (auto _ : state)
        benchmark::DoNotOptimize(store.scan("SELECT * FROM Post ORDER BY createdAt DESC"));
}
BENCHMARK(fetchPostsByCreationBareSqlite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runBenchmarks<QCoreApplication>(argc, argv);
}
