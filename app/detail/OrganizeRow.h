#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class Board;
class FlowLayout;
class ModelContext;
class Post;
class QMenu;
class QToolButton;
class Tag;

// The post's tags and boards as removable chips, followed by two pills whose
// menus add more, flowing in rows. Every change is saved at once.
class OrganizeRow : public QWidget {
    Q_OBJECT
public:
    OrganizeRow(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent = nullptr);

    // The add menus; filled each time they open.
    QMenu *tagMenu() const;
    QMenu *boardMenu() const;
    // Where Tab stops, in the order shown: the chips' remove buttons, then the pills.
    QList<QWidget *> tabStops() const;

    // Drops the tag from the post and saves.
    void remove(const std::shared_ptr<Tag> &tag);
    // Adds the tag named by the typed text, without spaces or "#" at its
    // ends, reusing a tag of that name; a text of nothing else adds nothing.
    void addNewTag(const QString &typed);

    // Makes the chips anew when the post's tags or boards changed.
    void showChips();

signals:
    // The chips were made anew.
    void chipsShown();

private:
    QStringList chipKey() const;
    // The pills in the current appearance.
    void applyAppearance();
    void fillTagMenu();
    void fillBoardMenu();
    void askNewTagName();
    QList<std::shared_ptr<Board>> liveBoards() const;
    void setTags(const QList<std::shared_ptr<Tag>> &tags);
    void setBoards(const QList<std::shared_ptr<Board>> &boards);
    bool isPostLive() const;
    void save();

    std::shared_ptr<Post> m_post;
    // Guarded: the row may outlive the store when the application quits.
    QPointer<ModelContext> m_context;
    FlowLayout *m_flow;
    QStringList m_chipKey;
    QToolButton *m_tagButton;
    QToolButton *m_boardButton;
};
