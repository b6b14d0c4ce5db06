#pragma once

#include "SidebarItem.h"

#include <QList>
#include <QWidget>
#include <utility>

class KeyboardFocus;
class MacModel;
class QLabel;
class QVBoxLayout;
class SidebarRow;

// The main window's source list: all posts, organize, the archive and the
// private space, then the collapsible "合集" section of boards, oldest
// first, each with the number of posts behind it. It shows the window's
// selection and reports the entry the user picks, by mouse or with Up/Down
// and Return. A board row's menu opens with a right-click or the Menu key.
// Posts dragged from the grid can be dropped on a board or the
// archive to file them there. Counts follow every store change and pending
// delete. The sync status line stands at its foot.
class Sidebar : public QWidget {
    Q_OBJECT
public:
    explicit Sidebar(MacModel &model, QWidget *parent = nullptr);

    const SidebarItem &selection() const { return m_selection; }
    // Draws the row of the item as selected; emits nothing.
    void setSelection(const SidebarItem &item);
    // Whether the boards are listed; kept in the settings.
    bool boardsOpen() const;
    void setBoardsOpen(bool open);
    // The rows on screen, in order: the four fixed ones, then the boards.
    QList<SidebarRow *> rows() const;
    // The row the arrow keys stand on; -1 for none.
    int currentRow() const { return m_current; }

signals:
    // The user picked an entry.
    void selectionChosen(const SidebarItem &item);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    using Entry = std::pair<SidebarItem, SidebarRow *>;

    QList<Entry> shownEntries() const;
    QWidget *makeBoardsHeader();
    SidebarRow *addRow(QVBoxLayout *layout, const SidebarItem &item, const QString &title,
                       const QString &symbol, bool boardTile);
    void refresh();
    void rebuildBoards();
    void updateRows();
    void choose(const SidebarItem &item);
    // Return chooses the row the arrow keys stand on, when it is not the
    // chosen one already.
    bool choosesOnReturn(const QKeyEvent &key) const;
    void moveCurrent(int step);
    // The Menu key on a board row opens the board's menu.
    void openCurrentMenu();
    // Unless the keyboard is walking the rows, it goes on from the chosen one.
    void placeCurrent();
    void showCurrent();

    MacModel &m_model;
    SidebarItem m_selection = SidebarItem::all();
    QList<Entry> m_fixed;
    QList<Entry> m_boards;
    QVBoxLayout *m_boardsLayout;
    QWidget *m_boardsBox;
    QWidget *m_boardsHeader;
    QLabel *m_boardsArrow;
    int m_current = 0;
    KeyboardFocus *m_keyboard;
};
