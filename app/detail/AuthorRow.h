#pragma once

#include <QUuid>
#include <QWidget>

class ModelContext;
class Post;
class QLayout;
class QProgressBar;

// The head of the information pane: the author's avatar, name (the
// platform's without one), the platform with the post's dates, a small
// spinner while the post is being imported, and the star of a named author.
class AuthorRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int avatarSize = 40;
    static constexpr int avatarBadgeSize = 16;

    AuthorRow(const Post &post, ModelContext &context, QWidget *parent = nullptr);

signals:
    void toastRequested(const QString &message);

private:
    QLayout *makeTexts(const Post &post);
    void showImportProgress();

    QUuid m_postId;
    QProgressBar *m_spinner;
};
