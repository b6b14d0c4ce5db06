#pragma once

#include "AuthorAccount.h"

#include <QDialog>
#include <QIcon>

class ModelContext;
class QListWidget;

// Puts the starred persons in the order the user wants: rows move by dragging
// or by Alt+Up and Alt+Down, and every move is stored at once through the
// star times, so the phone follows. "完成" saves and closes; there is no cancel.
class StarredOrderSheet : public QDialog {
    Q_OBJECT
public:
    explicit StarredOrderSheet(ModelContext &context, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    // The rows' accounts, top first.
    QList<AuthorAccount> shownOrder() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    // The drag handle in the colours of the current appearance.
    QIcon handleIcon() const;
    void repaintHandles();
    void storeShownOrder();
    void moveCurrent(int step);
    void finish();

    ModelContext &m_context;
    QListWidget *m_list;
};
