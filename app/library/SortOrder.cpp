#include "SortOrder.h"

#include "Post.h"

#include <algorithm>

const QList<SortOrder> &SortOrder::allCases()
{
    static const QList<SortOrder> cases{collected, published};
    return cases;
}

SortOrder SortOrder::fromRawValue(const QString &rawValue)
{
    return rawValue == QLatin1String("published") ? published : collected;
}

QString SortOrder::rawValue() const
{
    return m_value == published ? QStringLiteral("published") : QStringLiteral("collected");
}

QString SortOrder::label() const
{
    return m_value == published ? tr("按发布时间") : tr("按收藏时间");
}

QList<std::shared_ptr<Post>> SortOrder::sorted(QList<std::shared_ptr<Post>> posts) const
{
    if (m_value == published) {
        const auto key = [](const Post &post) { return post.publishedAt().value_or(post.createdAt()); };
        std::stable_sort(posts.begin(), posts.end(),
                         [&](const auto &a, const auto &b) { return key(*a) > key(*b); });
    }
    return posts;
}
