#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

class ModelContext;
class OrganizeRow;
class Post;
class QMenu;
class QPlainTextEdit;
class QVBoxLayout;

// The right side of the detail screen: who posted and when, the title and
// text, a failed parse with a way to try again, the tags and boards as
// removable chips with menus to add more, and the personal note. Every
// change is saved at once, except the note: it is written back when its
// editor loses focus and when the pane goes away, never on each keystroke.
// What the pane shows follows the post as the store changes.
class InfoPane : public QWidget {
    Q_OBJECT
public:
    InfoPane(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent = nullptr);
    ~InfoPane() override;

    QPlainTextEdit *noteEditor() const { return m_note; }
    // The add menus; filled each time they open.
    QMenu *tagMenu() const;
    QMenu *boardMenu() const;

    // Writes the edited note to a live post when it differs; a failed save
    // keeps the change in memory for the next one.
    void saveNote();
    // Adds the tag named by the typed text, without spaces or "#" at its
    // ends, reusing a tag of that name; a text of nothing else adds nothing.
    void addNewTag(const QString &typed);

signals:
    void reparseRequested(const std::shared_ptr<Post> &post);
    void toastRequested(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeHeader();
    void addTexts(QVBoxLayout &layout);
    void addParseFailure(QVBoxLayout &layout);
    void addNote(QVBoxLayout &layout);
    QWidget *makeNoteTitle() const;
    void followAppearance();
    void applyAppearance();

    // Brings the header, the chips and the note up to date with the post.
    void followPost();
    // The post's fields the header shows, to rebuild it only when they change.
    QStringList headerKey() const;
    void showHeader();
    void orderTabStops();
    void returnFocusToScreen();
    // Shows a note changed elsewhere unless the editor has the focus.
    void takeStoredNote();

    bool isPostLive() const;
    void save();

    std::shared_ptr<Post> m_post;
    // Guarded: the pane may outlive the store when the application quits.
    QPointer<ModelContext> m_context;
    QVBoxLayout *m_layout = nullptr;
    QWidget *m_header = nullptr;
    QStringList m_headerKey;
    OrganizeRow *m_organize = nullptr;
    QVBoxLayout *m_noteColumn = nullptr;
    QWidget *m_noteTitle = nullptr;
    QPlainTextEdit *m_note = nullptr;
};
