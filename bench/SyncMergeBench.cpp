// Merging a shared document of 10,000 posts into a library of 10,000 posts,
// half of them on both sides and a tenth edited on each side since the last
// merge, beside only reading and writing the same document.

#include "BackupCoder.h"
#include "ModelContainer.h"
#include "Post.h"
#include "SyncMerge.h"
#include "TamselStore.h"
#include "UserDefaults.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int half = 5000;
constexpr int edits = 1000;

QTemporaryDir &scratch()
{
    static QTemporaryDir folder;
    return folder;
}

QDateTime at(int minute)
{
    return QDateTime::fromSecsSinceEpoch(1700000000 + minute * 60, Qt::UTC);
}

void addPosts(ModelContext &context, const QString &prefix, int count)
{
    for (int i = 0; i < count; ++i) {
        auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/%1/%2").arg(prefix).arg(i),
                                           Platform::weibo);
        post->setTitle(QStringLiteral("第 %1 条").arg(i));
        post->setContent(QStringLiteral("正文 ").repeated(20));
        post->setParseState(ParseState::parsed);
        context.insert(post);
    }
}

void editNotes(ModelContext &context, const QString &note)
{
    const auto posts = context.fetch<Post>();
    for (int i = 0; i < edits; ++i)
        posts[(i * 7) % posts.size()]->setNote(note);
}

// The phone's document: the shared half, its own half, a tenth edited after
// the desktop last saw it.
struct Scenario {
    QByteArray sharedOnly;
    QByteArray phoneDocument;
};

const Scenario &scenario()
{
    static const Scenario built = [] {
        ModelContainer phone(TamselStore::schema());
        const QString state = scratch().filePath(QStringLiteral("phone.json"));
        addPosts(phone.mainContext(), QStringLiteral("shared"), half);
        Scenario scenario;
        scenario.sharedOnly = *Sync::merge(std::nullopt, phone.mainContext(), state, at(1)).output;
        addPosts(phone.mainContext(), QStringLiteral("phone"), half);
        editNotes(phone.mainContext(), QStringLiteral("from the phone"));
        scenario.phoneDocument = *Sync::merge(scenario.sharedOnly, phone.mainContext(), state, at(3)).output;
        return scenario;
    }();
    return built;
}

// The desktop after it took in the shared half and then edited a tenth.
std::unique_ptr<ModelContainer> desktop(const QString &state)
{
    QFile::remove(state);
    auto container = std::make_unique<ModelContainer>(TamselStore::schema());
    addPosts(container->mainContext(), QStringLiteral("desk"), half);
    Sync::merge(scenario().sharedOnly, container->mainContext(), state, at(2));
    editNotes(container->mainContext(), QStringLiteral("from the desktop"));
    return container;
}

void BM_Merge(benchmark::State &state)
{
    const QString statePath = scratch().filePath(QStringLiteral("desk.json"));
    for (auto _ : state) {
        state.PauseTiming();
        auto container = desktop(statePath);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            Sync::merge(scenario().phoneDocument, container->mainContext(), statePath, at(4)));
        state.PauseTiming();
        container.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadAndWriteOnly(benchmark::State &state)
{
    const QByteArray &bytes = scenario().phoneDocument;
    for (auto _ : state)
        benchmark::DoNotOptimize(Backup::encode(Backup::decode(bytes)));
}
BENCHMARK(BM_ReadAndWriteOnly)->Unit(benchmark::kMillisecond);

void BM_BareParseAndSerialise(benchmark::State &state)
{
    const QByteArray &bytes = scenario().phoneDocument;
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(bytes).toJson(QJsonDocument::Indented));
}
BENCHMARK(BM_BareParseAndSerialise)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The merge records incoming posts in the settings: keep them away from the user's.
    qputenv("XDG_CONFIG_HOME", scratch().filePath(QStringLiteral("config")).toUtf8());
    UserDefaults::reopenStandard();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
