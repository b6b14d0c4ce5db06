#include "BenchLibrary.h"

void BenchLibrary::addPosts(int count, const std::function<void(Post &, int)> &shape)
{
    const QDateTime start(QDate(2026, 1, 1), QTime());
    posts.reserve(posts.size() + count);
    for (int index = 0; index < count; ++index) {
        auto post = std::make_shared<Post>(QStringLiteral("https://example.com/p/%1").arg(index), Platform::web);
        post->setCreatedAt(start.addSecs(index));
        shape(*post, index);
        context().insert(post);
        posts.append(post);
    }
}
