// The library grid at 100,000 posts (its layout also at 10,000), each beside
// a bare baseline doing the same work: laying out every card against a plain
// loop over the same heights; painting one screen of cards against painting as many bare
// pixmaps; the search of one keystroke against a bare loop over the titles;
// and image cache lookups, inserts and evictions at its budget against a bare
// QHash.

#include "BenchLibrary.h"
#include "ImageCache.h"
#include "LibraryView.h"
#include "Masonry.h"
#include "Media.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <map>

namespace {

constexpr int largest = 100'000;

BenchLibrary makeLibrary(int postCount)
{
    const QStringList words{QStringLiteral("猫"), QStringLiteral("旅行"), QStringLiteral("recipe"),
                            QStringLiteral("咖啡"), QStringLiteral("Tokyo")};
    BenchLibrary made;
    made.addPosts(postCount, [&](Post &post, int index) {
        post.setPlatform(Platform::allCases()[index % 10]);
        post.setTitle(QStringLiteral("第 %1 条收藏 %2").arg(index).arg(words[index % words.size()]));
        post.setContent(QStringLiteral("正文 %1").arg(index * 7));
        post.setAuthorName(QStringLiteral("作者%1").arg(index % 500));
        if (index % 5) {
            auto media = std::make_shared<Media>(MediaKind::image, 0);
            media->setWidth(1000);
            media->setHeight(600 + index % 1000);
            post.setMedia({media});
        }
    });
    return made;
}

BenchLibrary &library(int postCount = largest)
{
    static std::map<int, BenchLibrary> libraries;
    auto found = libraries.find(postCount);
    if (found == libraries.end())
        found = libraries.emplace(postCount, makeLibrary(postCount)).first;
    return found->second;
}

void layoutCards(benchmark::State &state)
{
    const auto &posts = library(int(state.range(0))).posts;
    const CardMetrics metrics = CardMetrics::measure(QApplication::font());
    for (auto _ : state)
        benchmark::DoNotOptimize(Masonry::layout(posts, 1280, 5, 14, metrics));
}
BENCHMARK(layoutCards)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

void layoutCardsBareLoop(benchmark::State &state)
{
    const auto &posts = library(int(state.range(0))).posts;
    const CardMetrics metrics = CardMetrics::measure(QApplication::font());
    QList<qreal> heights;
    for (const auto &post : posts)
        heights.append(PostCard::height(*post, 240, metrics));
    for (auto _ : state) {
        qreal columns[5] = {};
        QList<QRectF> frames;
        frames.reserve(heights.size());
        for (qreal height : heights) {
            const int shortest = int(std::min_element(columns, columns + 5) - columns);
            frames.append(QRectF(254 * shortest, columns[shortest], 240, height));
            columns[shortest] += 14 + height;
        }
        benchmark::DoNotOptimize(frames);
    }
}
BENCHMARK(layoutCardsBareLoop)->Arg(10'000)->Arg(largest)->Unit(benchmark::kMillisecond);

QImage thumbnail(int index)
{
    QImage image(360, 300 + index % 200, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(index * 37 % 360, 90, 220));
    return image;
}

void paintScreen(benchmark::State &state)
{
    ImageCache cache;
    Masonry grid(nullptr, cache);
    grid.resize(1280, 820);
    grid.setPosts(library().posts);
    grid.show();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    for (int index : grid.mounted()) {
        if (const auto cover = library().posts[index]->cover())
            cache.insert(ImageCache::key(*cover, ImageCache::Size::thumb), thumbnail(index));
    }
    QPixmap target(grid.viewport()->size());
    for (auto _ : state)
        grid.viewport()->render(&target);
}
BENCHMARK(paintScreen)->Unit(benchmark::kMillisecond);

void paintScreenBarePixmaps(benchmark::State &state)
{
    Masonry grid;
    grid.resize(1280, 820);
    grid.setPosts(library().posts);
    grid.show();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    QList<QRectF> rects;
    QList<QPixmap> pixmaps;
    for (int index : grid.mounted()) {
        const QRectF rect = grid.cardRect(index);
        if (rect.bottom() >= 0 && rect.top() <= grid.viewport()->height()) {
            rects.append(rect);
            pixmaps.append(QPixmap::fromImage(thumbnail(index)));
        }
    }
    QPixmap target(grid.viewport()->size());
    for (auto _ : state) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int index = 0; index < rects.size(); ++index)
            painter.drawPixmap(rects[index], pixmaps[index], pixmaps[index].rect());
    }
}
BENCHMARK(paintScreenBarePixmaps)->Unit(benchmark::kMillisecond);

void searchKeystroke(benchmark::State &state)
{
    UndoableDelete pendingDelete;
    LibraryView view(library().container->mainContext(), pendingDelete, SidebarItem::all());
    view.resize(1280, 820);
    bool flip = false;
    for (auto _ : state) {
        view.setSearch((flip = !flip) ? QStringLiteral("旅") : QStringLiteral("旅行"));
        benchmark::DoNotOptimize(view.shown().size());
    }
}
BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);

void searchKeystrokeBareLoop(benchmark::State &state)
{
    QStringList titles;
    for (const auto &post : library().posts)
        titles.append(post->title());
    bool flip = false;
    for (auto _ : state) {
        const QString needle = (flip = !flip) ? QStringLiteral("旅") : QStringLiteral("旅行");
        int found = 0;
        for (const QString &title : titles)
            found += title.contains(needle, Qt::CaseInsensitive);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(searchKeystrokeBareLoop)->Unit(benchmark::kMillisecond);

// 1,000 thumbnails cycled through a cache that holds 400 of them by bytes.
constexpr int cachedKeys = 1000;

QList<QString> cacheKeys()
{
    QList<QString> keys;
    for (int index = 0; index < cachedKeys; ++index)
        keys.append(
            QStringLiteral("%1-t-%2").arg(QUuid::createUuid().toString(QUuid::WithoutBraces)).arg(index));
    return keys;
}

void imageCacheAtBudget(benchmark::State &state)
{
    const QList<QString> keys = cacheKeys();
    const QImage image = thumbnail(0);
    ImageCache cache(ImageCache::defaultCountLimit, 400 * image.sizeInBytes());
    int next = 0;
    for (auto _ : state) {
        const QString &key = keys[next];
        next = (next * 7 + 1) % cachedKeys;
        if (cache.cached(key).isNull())
            cache.insert(key, image);
    }
}
BENCHMARK(imageCacheAtBudget);

void imageCacheBareHash(benchmark::State &state)
{
    const QList<QString> keys = cacheKeys();
    const QImage image = thumbnail(0);
    QHash<QString, QImage> cache;
    int next = 0;
    for (auto _ : state) {
        const QString &key = keys[next];
        next = (next * 7 + 1) % cachedKeys;
        if (!cache.contains(key)) {
            if (cache.size() >= 400)
                cache.erase(cache.begin());
            cache.insert(key, image);
        }
    }
}
BENCHMARK(imageCacheBareHash);

} // namespace
