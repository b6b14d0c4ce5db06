#include "AuthorMerge.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "Board.h"
#include "Clock.h"
#include "ModelContext.h"
#include "Post.h"
#include "StoreError.h"

namespace AuthorMerge {

namespace {

template <class T>
QList<std::shared_ptr<T>> fetchQuietly(ModelContext &context, const FetchDescriptor<T> &descriptor = {})
{
    try {
        return context.fetch<T>(descriptor);
    } catch (const StoreError &) {
        return {};
    }
}

// A failed save keeps the changes in the context for the next one.
void saveQuietly(ModelContext &context)
{
    try {
        context.save();
    } catch (const StoreError &) {
    }
}

QList<std::shared_ptr<Board>> authorLinkedBoards(ModelContext &context)
{
    FetchDescriptor<Board> linked;
    linked.predicate = [](const Board &board) { return !board.authorsRaw().isEmpty(); };
    return fetchQuietly(context, linked);
}

// Star times are whole seconds, so they survive every store and file format.
QDateTime starTime()
{
    const QDateTime now = Clock::now();
    const qint64 fraction = ((now.toMSecsSinceEpoch() % 1000) + 1000) % 1000;
    return now.addMSecs(-fraction);
}

void adoptStar(AuthorGroup &result, const AuthorGroup &source)
{
    if (source.starred() && !result.starred()) {
        result.setStarred(true);
        result.setStarredAt(source.starredAt());
    }
}

bool reaches(const Board &board, const AuthorDirectory &directory, const AuthorAccount &account)
{
    return directory.expand(board.linkedAuthors()).contains(account);
}

void takeOwnPostsOff(const std::shared_ptr<Board> &board, const AuthorAccount &account)
{
    for (const std::shared_ptr<Post> &post : board->posts()) {
        if (post->isGone() || AuthorAccount::fromPost(*post) != account)
            continue;
        QList<std::shared_ptr<Board>> boards = post->boards();
        boards.removeAll(board);
        post->setBoards(boards);
    }
}

// Keeps a group only while it has its minimum size.
void shrink(ModelContext &context, const std::shared_ptr<AuthorGroup> &group,
            const QList<AuthorAccount> &remaining)
{
    const qsizetype minimum = group->starred() ? 1 : 2;
    if (remaining.size() < minimum)
        context.remove(group);
    else
        group->setMembers(remaining);
}

} // namespace

std::shared_ptr<AuthorGroup> merge(const AuthorAccount &source, const AuthorAccount &into,
                                   ModelContext &context)
{
    if (!source.isStorable() || !into.isStorable())
        return nullptr;
    const AuthorDirectory directory(context);
    const std::shared_ptr<AuthorGroup> targetGroup = directory.group(into);
    const std::shared_ptr<AuthorGroup> sourceGroup = directory.group(source);
    // Already one person: joining would only repeat members.
    if (source == into || (sourceGroup && sourceGroup == targetGroup)) {
        saveQuietly(context);
        refileBoards(context);
        return targetGroup;
    }

    const QList<AuthorAccount> members = directory.accounts(into) + directory.accounts(source);
    std::shared_ptr<AuthorGroup> result = targetGroup;
    if (result) {
        result->setMembers(members);
    } else {
        result = std::make_shared<AuthorGroup>(into.name(), members);
        context.insert(result);
    }
    if (sourceGroup && sourceGroup != result) {
        adoptStar(*result, *sourceGroup);
        context.remove(sourceGroup);
    }
    saveQuietly(context);
    refileBoards(context);
    return result;
}

void refileBoards(ModelContext &context)
{
    const QList<std::shared_ptr<Board>> boards = authorLinkedBoards(context);
    if (boards.isEmpty())
        return;
    const AuthorDirectory directory(context);
    const QList<std::shared_ptr<Post>> posts = fetchQuietly<Post>(context);
    for (const std::shared_ptr<Board> &board : boards)
        board->collectLinkedPosts(posts, directory);
    saveQuietly(context);
}

void split(const AuthorAccount &account, ModelContext &context)
{
    const AuthorDirectory before(context);
    const std::shared_ptr<AuthorGroup> group = before.group(account);
    if (!group)
        return;
    QList<std::shared_ptr<Board>> noted;
    for (const std::shared_ptr<Board> &board : authorLinkedBoards(context)) {
        if (reaches(*board, before, account))
            noted.append(board);
    }

    QList<AuthorAccount> remaining = group->members();
    remaining.removeAll(account);
    shrink(context, group, remaining);
    saveQuietly(context);

    const AuthorDirectory after(context);
    for (const std::shared_ptr<Board> &board : noted) {
        if (!reaches(*board, after, account))
            takeOwnPostsOff(board, account);
    }
    saveQuietly(context);
}

void setStarred(const AuthorAccount &account, bool starred, ModelContext &context)
{
    const AuthorDirectory directory(context);
    if (const std::shared_ptr<AuthorGroup> group = directory.group(account)) {
        group->setStarred(starred);
        group->setStarredAt(starred ? std::optional(starTime()) : std::nullopt);
        if (!starred && group->members().size() < 2)
            context.remove(group);
    } else if (starred && account.isStorable()) {
        const auto group = std::make_shared<AuthorGroup>(account.name(), QList<AuthorAccount>{account});
        group->setStarred(true);
        group->setStarredAt(starTime());
        context.insert(group);
    }
    saveQuietly(context);
}

void reorderStarred(const QList<AuthorAccount> &accounts, ModelContext &context)
{
    const AuthorDirectory directory(context);
    const QDateTime base = starTime();
    for (qsizetype i = 0; i < accounts.size(); ++i) {
        const std::shared_ptr<AuthorGroup> group = directory.group(accounts.at(i));
        if (group && group->starred())
            group->setStarredAt(base.addSecs(-i));
    }
    saveQuietly(context);
}

} // namespace AuthorMerge
