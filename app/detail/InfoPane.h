#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class ModelContext;
class Post;
class QPlainTextEdit;
class QVBoxLayout;

// The right side of the detail screen: who posted and when, the title and
// text, the tags as chips and the personal note. The note is written back
// when its editor loses focus and when the pane goes away, never on each
// keystroke.
class InfoPane : public QWidget {
    Q_OBJECT
public:
    InfoPane(std::shared_ptr<Post> post, ModelContext &context, QWidget *parent = nullptr);
    ~InfoPane() override;

    QPlainTextEdit *noteEditor() const { return m_note; }
    // Writes the edited note to a live post when it differs; a failed save
    // keeps the change in memory for the next one.
    void saveNote();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void addAuthor(QVBoxLayout &layout);
    void addTexts(QVBoxLayout &layout);
    void addTags(QVBoxLayout &layout);
    void addNote(QVBoxLayout &layout);
    // Shows a note changed elsewhere unless the editor has the focus.
    void takeStoredNote();

    std::shared_ptr<Post> m_post;
    // Guarded: the pane may outlive the store when the application quits.
    QPointer<ModelContext> m_context;
    QPlainTextEdit *m_note = nullptr;
};
