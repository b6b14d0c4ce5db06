// The channel clean-up's walk over a ledger of 10,000 and of 100,000 entries
// and a library of as many sent posts with nothing to delete, beside one bare
// fetch of all posts: the walk looks each post up once, never by a scan per
// entry.
#include "ChannelCleanUp.h"
#include "HTTPClient.h"
#include "ModelContainer.h"
#include "Plugins.h"
#include "Post.h"
#include "PostImporter.h"
#include "SettingsKey.h"
#include "TamselStore.h"
#include "TelegramLedger.h"
#include "TelegramSync.h"
#include "TestHome.h"
#include "Text.h"
#include "WaitFor.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <map>

namespace {

constexpr int largest = 100'000;

// A library in a store file of its own per size, and its ledger, which goes
// into the settings before each run.
struct Library {
    std::unique_ptr<ModelContainer> container;
    PostImporter importer;
    QVariantMap ledger;

    explicit Library(int postCount)
        : container(std::make_unique<ModelContainer>(TamselStore::schema(),
                                                     TamselStore::storeDirectory() +
                                                         QStringLiteral("/library-%1.store").arg(postCount))),
          importer(container->mainContext(), HTTPClient())
    {
        ModelContext &context = container->mainContext();
        for (int i = 0; i < postCount; ++i) {
            auto post =
                std::make_shared<Post>(QStringLiteral("https://weibo.com/%1").arg(i), Platform::weibo);
            post->setTelegramMessageIDs({2 * i + 1, 2 * i + 2});
            post->setTelegramSyncedAt(QDateTime::currentDateTimeUtc());
            context.insert(post);
            ledger.insert(Text::uuidText(post->id()), QStringLiteral("%1,%2").arg(2 * i + 1).arg(2 * i + 2));
        }
        context.save();
    }
};

// Dropped in main() before the test home goes.
std::map<int, std::unique_ptr<Library>> libraries;

Library &library(int postCount)
{
    auto &made = libraries[postCount];
    if (!made)
        made = std::make_unique<Library>(postCount);
    TamselStore::defaults().setDictionary(TelegramLedger::settingsKey, made->ledger);
    return *made;
}

void cleanUpWalk(benchmark::State &state)
{
    Library &shared = library(int(state.range(0)));
    for (auto _ : state)
        TestAsync::waitFor(cleanUpTelegram(shared.importer));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(cleanUpWalk)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

void fetchAllPostsBare(benchmark::State &state)
{
    ModelContext &context = library(int(state.range(0))).container->mainContext();
    for (auto _ : state)
        benchmark::DoNotOptimize(context.fetch<Post>());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(fetchAllPostsBare)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    TestHome home;
    QCoreApplication app(argc, argv);
    UserDefaults &settings = TamselStore::defaults();
    Plugins::shared().setInstalled(TelegramSync::pluginID, true);
    settings.setBool(SettingsKey::telegramEnabled, true);
    settings.setString(SettingsKey::telegramToken, QStringLiteral("123:abc"));
    settings.setString(SettingsKey::telegramChatID, QStringLiteral("@channel"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    libraries.clear();
    return 0;
}
