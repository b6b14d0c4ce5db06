// The sidebar's counts and board covers, and the organize page's board and
// tag tiles, at 100,000 posts in 200 boards and 300 tags, each beside a bare
// loop that reads the same posts' flags, board and tag lists and counts them
// in plain hashes.

#include "Board.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "SidebarIndex.h"
#include "Tag.h"
#include "TamselStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 100'000;
constexpr int boardCount = 200;
constexpr int tagCount = 300;

struct Library {
    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    QList<std::shared_ptr<Post>> posts;
    QList<std::shared_ptr<Board>> boards;
    QList<std::shared_ptr<Tag>> tags;

    Library()
    {
        ModelContext &context = container->mainContext();
        for (int index = 0; index < boardCount; ++index) {
            boards.append(std::make_shared<Board>(QStringLiteral("合集 %1").arg(index), QString()));
            context.insert(boards.last());
        }
        for (int index = 0; index < tagCount; ++index) {
            tags.append(
                std::make_shared<Tag>(QStringLiteral("标签 %1").arg(index), QStringLiteral("#D97757")));
            context.insert(tags.last());
        }
        for (int index = 0; index < postCount; ++index) {
            auto post =
                std::make_shared<Post>(QStringLiteral("https://example.com/p/%1").arg(index), Platform::web);
            post->setCreatedAt(QDateTime(QDate(2026, 1, 1), QTime()).addSecs(index));
            post->setIsArchived(index % 10 == 0);
            post->setIsPrivate(index % 25 == 0);
            if (index % 3)
                post->setMedia({std::make_shared<Media>(MediaKind::image, 0)});
            context.insert(post);
            post->setBoards({boards[index % boardCount]});
            post->setTags({tags[index % tagCount], tags[(index * 7) % tagCount]});
            posts.append(post);
        }
    }
};

Library &library()
{
    static Library shared;
    return shared;
}

void sidebarIndex(benchmark::State &state)
{
    const auto &posts = library().posts;
    for (auto _ : state)
        benchmark::DoNotOptimize(SidebarIndex(posts, true, {}));
}
BENCHMARK(sidebarIndex)->Unit(benchmark::kMillisecond);

void sidebarIndexBareLoop(benchmark::State &state)
{
    const auto &posts = library().posts;
    for (auto _ : state) {
        int listed = 0;
        int archived = 0;
        int hidden = 0;
        QHash<const Board *, int> boards;
        QHash<const Tag *, int> tags;
        for (const auto &post : posts) {
            if (post->isPrivate() || post->isArchived()) {
                ++(post->isPrivate() ? hidden : archived);
                continue;
            }
            ++listed;
            for (const auto &board : post->boards())
                ++boards[board.get()];
            for (const auto &tag : post->tags())
                ++tags[tag.get()];
        }
        benchmark::DoNotOptimize(listed + archived + hidden + boards.size() + tags.size());
    }
}
BENCHMARK(sidebarIndexBareLoop)->Unit(benchmark::kMillisecond);

// What the organize page reads for its tiles: every board's count and up to
// three covers, every tag's count.
void organizeTiles(benchmark::State &state)
{
    const Library &shared = library();
    for (auto _ : state) {
        const SidebarIndex index(shared.posts, false, {});
        qsizetype total = 0;
        for (const auto &board : shared.boards)
            total += index.count(SidebarItem::board(board)) + index.covers(board->id()).size();
        for (const auto &tag : shared.tags)
            total += index.count(SidebarItem::tag(tag));
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(organizeTiles)->Unit(benchmark::kMillisecond);

// The posts are made oldest first, so walking them backwards visits the
// newest first without sorting.
void organizeTilesBareLoop(benchmark::State &state)
{
    const auto &posts = library().posts;
    for (auto _ : state) {
        QHash<const Board *, int> boards;
        QHash<const Board *, QList<std::shared_ptr<Media>>> covers;
        QHash<const Tag *, int> tags;
        for (auto post = posts.crbegin(); post != posts.crend(); ++post) {
            if ((*post)->isPrivate() || (*post)->isArchived())
                continue;
            const auto cover = (*post)->cover();
            for (const auto &board : (*post)->boards()) {
                ++boards[board.get()];
                auto &shown = covers[board.get()];
                if (cover && shown.size() < 3)
                    shown.append(cover);
            }
            for (const auto &tag : (*post)->tags())
                ++tags[tag.get()];
        }
        benchmark::DoNotOptimize(boards.size() + covers.size() + tags.size());
    }
}
BENCHMARK(organizeTilesBareLoop)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and stores of this run stay out of the user's folders.
    QTemporaryDir home;
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, home.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
