#include "Tag.h"

#include "Clock.h"
#include "Post.h"

namespace {
enum Inverse { postsInverse };
} // namespace

Tag::Tag(const QString &name, const QString &colorHex)
    : PersistentModel(entityDescription()), m_name(name), m_colorHex(colorHex), m_createdAt(Clock::now())
{
}

Tag::Tag(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Tag::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Tag>(QStringLiteral("Tag"), &materialized<Tag>)
            .column(QStringLiteral("name"), &Tag::m_name)
            .column(QStringLiteral("colorHex"), &Tag::m_colorHex)
            .column(QStringLiteral("createdAt"), &Tag::m_createdAt)
            .inverse(QStringLiteral("posts"), &Post::entityDescription, QStringLiteral("tags"), true)
            .build();
    return entity;
}

QList<std::shared_ptr<Post>> Tag::posts() const
{
    return downcast<Post>(inverseRelated(postsInverse));
}

void Tag::setPosts(const QList<std::shared_ptr<Post>> &posts)
{
    setInverseRelated(postsInverse, upcast(posts));
}
