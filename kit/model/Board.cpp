#include "Board.h"

#include "Clock.h"
#include "Post.h"

namespace {
enum Inverse { postsInverse };
} // namespace

Board::Board(const QString &name, const QString &summary)
    : PersistentModel(entityDescription()), m_name(name), m_summary(summary), m_createdAt(Clock::now())
{
}

Board::Board(Materializing tag) : PersistentModel(entityDescription(), tag) {}

const EntityDescription &Board::entityDescription()
{
    static const EntityDescription entity =
        EntityBuilder<Board>(QStringLiteral("Board"),
                             [] { return std::shared_ptr<Board>(new Board(Materializing{})); })
            .column(QStringLiteral("name"), &Board::m_name)
            .column(QStringLiteral("summary"), &Board::m_summary)
            .column(QStringLiteral("createdAt"), &Board::m_createdAt)
            .column(QStringLiteral("authorsRaw"), &Board::m_authorsRaw)
            .inverse(QStringLiteral("posts"), &Post::entityDescription, QStringLiteral("boards"), true)
            .build();
    return entity;
}

QList<std::shared_ptr<Post>> Board::posts() const
{
    return downcast<Post>(inverseRelated(postsInverse));
}

void Board::setPosts(const QList<std::shared_ptr<Post>> &posts)
{
    setInverseRelated(postsInverse, upcast(posts));
}
