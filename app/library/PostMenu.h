#pragma once

#include <QMenu>
#include <memory>

class ModelContext;
class Post;
class UndoableDelete;

// The actions on one post: open or copy its link, parse it again, file it
// into tags and boards, star its author, archive it, move it into or out of
// the private space, send it to the channel and delete it with undo. Labels
// show the post as it was when the menu was made; a gone post gets an empty
// menu. Work that belongs to the application is asked for through signals.
class PostMenu : public QMenu {
    Q_OBJECT
public:
    PostMenu(std::shared_ptr<Post> post, ModelContext &context, UndoableDelete &pendingDelete,
             QWidget *parent = nullptr);

    // Only web links are handed to the desktop: any other scheme could start
    // a local program or open a local file.
    static bool isOpenable(const QString &link);
    // Flips the post's archive flag and saves; the toast that says so.
    static QString toggleArchive(Post &post, ModelContext &context);

signals:
    void toastRequested(const QString &message);
    void reparseRequested(const std::shared_ptr<Post> &post);
    void privateRequested(const std::shared_ptr<Post> &post, bool isPrivate);
    void telegramRequested(const std::shared_ptr<Post> &post);

private:
    void addLinkActions();
    template <class Record>
    void addToggles(const QString &title, const QList<std::shared_ptr<Record>> &records);
    void addArchive();
    void addChannel();
    void save();

    std::shared_ptr<Post> m_post;
    ModelContext &m_context;
    UndoableDelete &m_pendingDelete;
};
