// The channel clean-up's walk over a ledger of 10,000 entries and a library
// of 10,000 sent posts with nothing to delete, beside one bare fetch of all
// posts: the walk looks each post up once, never by a scan per entry.
#include "ChannelCleanUp.h"
#include "HTTPClient.h"
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

namespace {

constexpr int postCount = 10000;

struct Library {
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
    PostImporter importer{container->mainContext(), HTTPClient()};

    Library()
    {
        ModelContext &context = container->mainContext();
        QVariantMap ledger;
        for (int i = 0; i < postCount; ++i) {
            auto post =
                std::make_shared<Post>(QStringLiteral("https://weibo.com/%1").arg(i), Platform::weibo);
            post->setTelegramMessageIDs({2 * i + 1, 2 * i + 2});
            post->setTelegramSyncedAt(QDateTime::currentDateTimeUtc());
            context.insert(post);
            ledger.insert(Text::uuidText(post->id()), QStringLiteral("%1,%2").arg(2 * i + 1).arg(2 * i + 2));
        }
        context.save();
        TamselStore::defaults().setDictionary(TelegramLedger::settingsKey, ledger);
    }
};

Library &library()
{
    static Library made;
    return made;
}

void cleanUpWalk(benchmark::State &state)
{
    for (auto _ : state)
        TestAsync::waitFor(cleanUpTelegram(library().importer));
    state.SetItemsProcessed(state.iterations() * postCount);
}
BENCHMARK(cleanUpWalk)->Unit(benchmark::kMillisecond);

void fetchAllPostsBare(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(library().container->mainContext().fetch<Post>());
    state.SetItemsProcessed(state.iterations() * postCount);
}
BENCHMARK(fetchAllPostsBare)->Unit(benchmark::kMillisecond);

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
    library();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
