#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QUuid>
#include <chrono>
#include <functional>
#include <memory>

class Post;

// Holds posts the user just deleted for a short while, hidden but not gone,
// so the deletion can be undone. At most one batch is pending: a new delete
// commits the previous batch at once. Main thread only.
class UndoableDelete : public QObject {
    Q_OBJECT
public:
    using PostList = QList<std::shared_ptr<Post>>;
    // The real delete; it gets only posts that still exist.
    using CommitAction = std::function<void(const PostList &)>;

    // The event loop's timers stand still while the computer sleeps, so the
    // delay is measured on Clock::continuous() and looked at this often: a
    // delay that ran out during sleep ends this soon after waking.
    static constexpr std::chrono::milliseconds checkInterval{250};

    explicit UndoableDelete(QObject *parent = nullptr);

    const PostList &posts() const { return m_posts; }
    const QSet<QUuid> &hidden() const { return m_hidden; }
    bool isHidden(const Post &post) const;
    void setOnCommit(CommitAction action) { m_onCommit = std::move(action); }

    // Commits a pending batch first, then hides the posts and commits them
    // after the given number of seconds, sleep included, unless undone or
    // committed earlier.
    void start(const PostList &posts, double seconds);
    // Runs the commit action, which may throw.
    void commit();
    void undo();

signals:
    void postsChanged();
    void hiddenChanged();

private:
    void commitLogged();
    void checkDelay(std::chrono::nanoseconds deadline, quint64 generation);
    void setPending(const PostList &posts, const QSet<QUuid> &hidden);

    PostList m_posts;
    QSet<QUuid> m_hidden;
    CommitAction m_onCommit;
    // Counts every start, commit and undo; a delay commits only when it is
    // still the one its batch started with.
    quint64 m_generation = 0;
};
