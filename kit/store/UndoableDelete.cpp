#include "UndoableDelete.h"

#include "Clock.h"
#include "KitLog.h"
#include "Post.h"

#include <QTimer>
#include <algorithm>
#include <chrono>

UndoableDelete::UndoableDelete(QObject *parent) : QObject(parent) {}

bool UndoableDelete::isHidden(const Post &post) const
{
    return m_hidden.contains(post.id());
}

void UndoableDelete::start(const PostList &posts, double seconds)
{
    commit();
    if (posts.isEmpty())
        return;
    QSet<QUuid> ids;
    for (const auto &post : posts)
        ids.insert(post->id());
    setPending(posts, ids);

    const quint64 generation = ++m_generation;
    const std::chrono::milliseconds delay(qRound64(std::max(seconds, 0.0) * 1000));
    checkDelay(Clock::continuous() + delay, generation);
}

void UndoableDelete::checkDelay(std::chrono::nanoseconds deadline, quint64 generation)
{
    using namespace std::chrono;
    const milliseconds left = ceil<milliseconds>(std::max(deadline - Clock::continuous(), nanoseconds(0)));
    QTimer::singleShot(std::min(left, checkInterval), Qt::PreciseTimer, this, [this, deadline, generation] {
        if (m_generation != generation)
            return;
        if (Clock::continuous() >= deadline)
            commitLogged();
        else
            checkDelay(deadline, generation);
    });
}

void UndoableDelete::commit()
{
    if (m_posts.isEmpty())
        return;
    PostList surviving;
    std::copy_if(m_posts.cbegin(), m_posts.cend(), std::back_inserter(surviving),
                 [](const std::shared_ptr<Post> &post) { return !post->isGone(); });
    setPending({}, {});
    ++m_generation;
    if (!surviving.isEmpty() && m_onCommit)
        m_onCommit(surviving);
}

// An exception must not leave a timer callback: it would end the application.
void UndoableDelete::commitLogged()
{
    try {
        commit();
    } catch (const std::exception &error) {
        qCCritical(tamselLog, "delete failed: %s", error.what());
    }
}

void UndoableDelete::undo()
{
    setPending({}, {});
    ++m_generation;
}

void UndoableDelete::setPending(const PostList &posts, const QSet<QUuid> &hidden)
{
    if (m_posts != posts) {
        m_posts = posts;
        emit postsChanged();
    }
    if (m_hidden != hidden) {
        m_hidden = hidden;
        emit hiddenChanged();
    }
}
