// The sidebar's counts and board covers at 100,000 posts in 200 boards and
// 300 tags, beside a bare loop that reads the same posts' flags, board and
// tag lists and counts them in plain hashes.

#include "BenchLibrary.h"
#include "Board.h"
#include "Media.h"
#include "SidebarIndex.h"
#include "Tag.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int postCount = 100'000;
constexpr int boardCount = 200;
constexpr int tagCount = 300;

BenchLibrary &library()
{
    static BenchLibrary shared = [] {
        BenchLibrary made;
        QList<std::shared_ptr<Board>> boards;
        for (int index = 0; index < boardCount; ++index) {
            boards.append(std::make_shared<Board>(QStringLiteral("合集 %1").arg(index), QString()));
            made.context().insert(boards.last());
        }
        QList<std::shared_ptr<Tag>> tags;
        for (int index = 0; index < tagCount; ++index) {
            tags.append(
                std::make_shared<Tag>(QStringLiteral("标签 %1").arg(index), QStringLiteral("#D97757")));
            made.context().insert(tags.last());
        }
        made.addPosts(postCount, [&](Post &post, int index) {
            post.setIsArchived(index % 10 == 0);
            post.setIsPrivate(index % 25 == 0);
            if (index % 3)
                post.setMedia({std::make_shared<Media>(MediaKind::image, 0)});
            post.setBoards({boards[index % boardCount]});
            post.setTags({tags[index % tagCount], tags[(index * 7) % tagCount]});
        });
        return made;
    }();
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

} // namespace
