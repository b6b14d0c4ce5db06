#pragma once

#include "ModelContainer.h"
#include "Post.h"
#include "TamselStore.h"

#include <functional>
#include <memory>

// A library held in memory for the benchmarks that read many posts.
struct BenchLibrary {
    // Inserts `count` posts, a second apart from New Year 2026, each shaped
    // by `shape` with its index first.
    void addPosts(int count, const std::function<void(Post &, int)> &shape);
    ModelContext &context() { return container->mainContext(); }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    QList<std::shared_ptr<Post>> posts;
};
