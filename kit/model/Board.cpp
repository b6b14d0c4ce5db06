#include "Board.h"

#include "AuthorDirectory.h"
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
        EntityBuilder<Board>(QStringLiteral("Board"), &materialized<Board>)
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

std::shared_ptr<Board> Board::self()
{
    return std::static_pointer_cast<Board>(shared_from_this());
}

QList<AuthorAccount> Board::linkedAuthors() const
{
    return AuthorAccount::fromKeyList(m_authorsRaw);
}

void Board::setLinkedAuthors(const QList<AuthorAccount> &accounts)
{
    setAuthorsRaw(AuthorAccount::keyList(accounts));
}

QSet<AuthorAccount> Board::linkedAccounts(const AuthorDirectory &directory) const
{
    return directory.expand(linkedAuthors());
}

bool Board::links(const Post &post, const AuthorDirectory &directory) const
{
    return !post.authorName().isEmpty() && linkedAccounts(directory).contains(AuthorAccount::fromPost(post));
}

int Board::collectLinkedPosts(const QList<std::shared_ptr<Post>> &posts, const AuthorDirectory &directory)
{
    const QSet<AuthorAccount> linked = linkedAccounts(directory);
    if (linked.isEmpty() || posts.isEmpty())
        return 0;
    const std::shared_ptr<Board> board = self();
    int added = 0;
    for (const std::shared_ptr<Post> &post : posts) {
        if (post->isGone() || post->authorName().isEmpty() ||
            !linked.contains(AuthorAccount::fromPost(*post)))
            continue;
        QList<std::shared_ptr<Board>> boards = post->boards();
        if (boards.contains(board))
            continue;
        boards.append(board);
        post->setBoards(boards);
        ++added;
    }
    return added;
}

int Board::unlink(const AuthorAccount &account, const AuthorDirectory &directory)
{
    const QList<AuthorAccount> personList = directory.accounts(account);
    const QSet<AuthorAccount> person(personList.cbegin(), personList.cend());
    QList<AuthorAccount> kept = linkedAuthors();
    kept.removeIf([&](const AuthorAccount &linked) { return person.contains(linked); });
    setLinkedAuthors(kept);

    const std::shared_ptr<Board> board = self();
    int removed = 0;
    for (const std::shared_ptr<Post> &post : posts()) {
        if (post->isGone() || !person.contains(AuthorAccount::fromPost(*post)))
            continue;
        QList<std::shared_ptr<Board>> boards = post->boards();
        boards.removeAll(board);
        post->setBoards(boards);
        ++removed;
    }
    return removed;
}
