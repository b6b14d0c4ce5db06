// The sidebar's counts and board covers, and the organize page's board and
// tag tiles, at 10,000 and 100,000 posts in 200 boards and 300 tags, each beside a bare
// loop that reads the same posts' flags, board and tag lists and counts them
// in plain hashes.

#include "BenchLibrary.h"
#include "Board.h"
#include "Media.h"
#include "SidebarIndex.h"
#include "Tag.h"

#include <benchmark/benchmark.h>
#include <map>

namespace {

constexpr int largest = 100'000;
constexpr int boardCount = 200;
constexpr int tagCount = 300;

// The library with its boards and tags, which the organize tiles read.
struct Library : BenchLibrary {
    QList<std::shared_ptr<Board>> boards;
    QList<std::shared_ptr<Tag>> tags;
};

Library makeLibrary(int postCount)
{
    Library made;
    for (int index = 0; index < boardCount; ++index) {
        made.boards.append(std::make_shared<Board>(QStringLiteral("合集 %1").arg(index), QString()));
        made.context().insert(made.boards.last());
    }
    for (int index = 0; index < tagCount; ++index) {
        made.tags.append(
            std::make_shared<Tag>(QStringLiteral("标签 %1").arg(index), QStringLiteral("#D97757")));
        made.context().insert(made.tags.last());
    }
    made.addPosts(postCount, [&](Post &post, int index) {
        post.setIsArchived(index % 10 == 0);
        post.setIsPrivate(index % 25 == 0);
        if (index % 3)
            post.setMedia({std::make_shared<Media>(MediaKind::image, 0)});
        post.setBoards({made.boards[index % boardCount]});
        post.setTags({made.tags[index % tagCount], made.tags[(index * 7) % tagCount]});
    });
    return made;
}

Library &library(int postCount)
{
    static std::map<int, Library> libraries;
    auto found = libraries.find(postCount);
    if (found == libraries.end())
        found = libraries.emplace(postCount, makeLibrary(postCount)).first;
    return found->second;
}

void sidebarIndex(benchmark::State &state)
{
    const auto &posts = library(int(state.range(0))).posts;
    for (auto _ : state)
        benchmark::DoNotOptimize(SidebarIndex(posts, true, {}));
}
BENCHMARK(sidebarIndex)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

void sidebarIndexBareLoop(benchmark::State &state)
{
    const auto &posts = library(int(state.range(0))).posts;
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
BENCHMARK(sidebarIndexBareLoop)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

// What the organize page reads for its tiles: every board's count and up to
// three covers, every tag's count.
void organizeTiles(benchmark::State &state)
{
    const Library &shared = library(int(state.range(0)));
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
BENCHMARK(organizeTiles)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

// The posts are made oldest first, so walking them backwards visits the
// newest first without sorting.
void organizeTilesBareLoop(benchmark::State &state)
{
    const auto &posts = library(int(state.range(0))).posts;
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
BENCHMARK(organizeTilesBareLoop)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

} // namespace
