#include "Sidebar.h"

#include "Board.h"
#include "CollectionMenu.h"
#include "Divider.h"
#include "KeyboardFocus.h"
#include "MacModel.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Post.h"
#include "PostDropTarget.h"
#include "SecondaryLabel.h"
#include "SidebarIndex.h"
#include "SidebarRow.h"
#include "SyncStatus.h"
#include "Symbol.h"
#include "TamselStore.h"
#include "Theme.h"
#include "Typography.h"
#include "UndoableDelete.h"
#include "UserDefaults.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QToolButton>

namespace {

const QString openBoardsKey = QStringLiteral("sidebarOpen.boards");
constexpr int rowInset = 6;

QString lockSymbol(bool unlocked)
{
    return unlocked ? QStringLiteral("lock.open") : QStringLiteral("lock");
}

QString disclosureArrow(bool open)
{
    return open ? QStringLiteral("▾") : QStringLiteral("▸");
}

} // namespace

Sidebar::Sidebar(MacModel &model, QWidget *parent)
    : QWidget(parent), m_model(model), m_boardsLayout(new QVBoxLayout), m_boardsBox(new QWidget),
      m_keyboard(new KeyboardFocus(this))
{
    setObjectName(QStringLiteral("Sidebar"));
    setFocusPolicy(Qt::StrongFocus);
    auto *list = new QWidget;
    auto *layout = new QVBoxLayout(list);
    layout->setContentsMargins(rowInset, rowInset, rowInset, rowInset);
    layout->setSpacing(2);
    addRow(layout, SidebarItem::all(), tr("收藏"), QStringLiteral("square.grid.2x2"), false);
    addRow(layout, SidebarItem::organize(), tr("整理"), QStringLiteral("tag"), false);
    addRow(layout, SidebarItem::archived(), tr("已归档"), QStringLiteral("archivebox"), false);
    addRow(layout, SidebarItem::privateSpace(), tr("隐私空间"), lockSymbol(model.privateUnlocked()), false);
    layout->addSpacing(10);
    layout->addWidget(makeBoardsHeader());
    m_boardsLayout->setContentsMargins(0, 0, 0, 0);
    m_boardsLayout->setSpacing(2);
    m_boardsBox->setLayout(m_boardsLayout);
    m_boardsBox->setVisible(boardsOpen());
    layout->addWidget(m_boardsBox);
    layout->addStretch(1);

    auto *scroll = new QScrollArea;
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(scroll, 1);
    auto *divider = new Divider(Qt::Horizontal);
    auto *dividerBox = new QHBoxLayout;
    dividerBox->setContentsMargins(12, 0, 12, 0);
    dividerBox->addWidget(divider);
    outer->addLayout(dividerBox);
    outer->addWidget(new SyncStatus(model));

    ModelContext &context = model.container().mainContext();
    connect(&context, &ModelContext::changed, this, &Sidebar::refresh);
    connect(&model.pendingDelete(), &UndoableDelete::hiddenChanged, this, &Sidebar::refresh);
    connect(&model, &MacModel::privateUnlockedChanged, this, &Sidebar::refresh);
    connect(m_keyboard, &KeyboardFocus::changed, this, &Sidebar::showCurrent);
    refresh();
    showCurrent();
}

// A section header, not a button: the folding arrow and the title in the
// secondary style, a click anywhere on it folding or unfolding the section.
QWidget *Sidebar::makeBoardsHeader()
{
    auto *header = m_boardsHeader = new QWidget;
    header->setObjectName(QStringLiteral("boardsHeader"));
    header->setCursor(Qt::PointingHandCursor);
    header->installEventFilter(this);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(rowInset, 0, 0, 0);
    row->setSpacing(4);
    const QFont headerFont = Typography::caption(font(), QFont::DemiBold);
    m_boardsArrow = new SecondaryLabel(disclosureArrow(boardsOpen()), headerFont, header);
    row->addWidget(m_boardsArrow);
    row->addWidget(new SecondaryLabel(tr("合集"), headerFont, header));
    auto *add = new QToolButton;
    add->setObjectName(QStringLiteral("newBoard"));
    const auto paintAdd = [add] {
        add->setIcon(Symbol::pixmap(QStringLiteral("plus"), 14, add->palette().color(QPalette::ButtonText)));
    };
    Theme::paintAndFollow(add, paintAdd);
    add->setToolTip(tr("新建合集"));
    add->setAutoRaise(true);
    add->setFocusPolicy(Qt::NoFocus);
    connect(add, &QToolButton::clicked, this, [this] {
        m_keyboard->setByKeyboard(false);
        m_model.setNamingText(QString());
        m_model.setNaming(Naming::newBoard());
    });
    row->addStretch(1);
    row->addWidget(add);
    return header;
}

// Return on a row other than the chosen one is the sidebar's, before any
// window-wide shortcut (the lock screen's unlock) can take it.
bool Sidebar::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && choosesOnReturn(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool Sidebar::choosesOnReturn(const QKeyEvent &key) const
{
    const QList<Entry> shown = shownEntries();
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && m_current >= 0 &&
           m_current < shown.size() && !(shown[m_current].first == m_selection);
}

bool Sidebar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_boardsHeader && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        setBoardsOpen(!boardsOpen());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

SidebarRow *Sidebar::addRow(QVBoxLayout *layout, const SidebarItem &item, const QString &title,
                            const QString &symbol, bool boardTile)
{
    auto *row = new SidebarRow(title, symbol, boardTile);
    connect(row, &SidebarRow::clicked, this, [this, item] {
        m_keyboard->setByKeyboard(false);
        setFocus(Qt::MouseFocusReason);
        choose(item);
    });
    if (auto *target = PostDropTarget::attach(row, m_model, item))
        connect(target, &PostDropTarget::targetedChanged, row, &SidebarRow::setTargeted);
    if (boardTile)
        CollectionMenu::attach(row, m_model, item);
    layout->addWidget(row);
    (boardTile ? m_boards : m_fixed).append({item, row});
    return row;
}

bool Sidebar::boardsOpen() const
{
    return TamselStore::defaults().boolObject(openBoardsKey, true);
}

void Sidebar::setBoardsOpen(bool open)
{
    TamselStore::defaults().setBool(openBoardsKey, open);
    m_boardsArrow->setText(disclosureArrow(open));
    m_boardsBox->setVisible(open);
    moveCurrent(0);
}

QList<Sidebar::Entry> Sidebar::shownEntries() const
{
    return boardsOpen() ? m_fixed + m_boards : m_fixed;
}

QList<SidebarRow *> Sidebar::rows() const
{
    QList<SidebarRow *> shown;
    for (const auto &[item, row] : shownEntries())
        shown.append(row);
    return shown;
}

void Sidebar::setSelection(const SidebarItem &item)
{
    m_selection = item;
    updateRows();
    // However it was chosen, only the chosen row looks chosen.
    m_keyboard->setByKeyboard(false);
    placeCurrent();
}

// A new board is chosen before its row is built: the cursor finds it once
// the rows are built again.
void Sidebar::placeCurrent()
{
    const QList<Entry> shown = shownEntries();
    for (int index = 0; index < shown.size() && !m_keyboard->isByKeyboard(); ++index)
        if (shown[index].first == m_selection)
            m_current = index;
    moveCurrent(0);
}

void Sidebar::choose(const SidebarItem &item)
{
    setSelection(item);
    emit selectionChosen(item);
}

// Everything the counts and board rows depend on is read again, as the store
// or the pending delete may have changed anything.
void Sidebar::refresh()
{
    rebuildBoards();
    updateRows();
}

void Sidebar::rebuildBoards()
{
    const auto oldestFirst = [](const Board &a, const Board &b) { return a.createdAt() < b.createdAt(); };
    QList<std::shared_ptr<Board>> boards = m_model.container().mainContext().fetch<Board>({{}, oldestFirst});
    boards.removeIf([](const auto &board) { return board->isGone(); });
    bool same = boards.size() == m_boards.size();
    for (qsizetype i = 0; same && i < boards.size(); ++i)
        same = m_boards[i].first.boardObject() == boards[i];
    if (same)
        return;
    for (const auto &[item, row] : std::as_const(m_boards))
        delete row;
    m_boards.clear();
    for (const auto &board : std::as_const(boards))
        addRow(m_boardsLayout, SidebarItem::board(board), board->name(), QStringLiteral("rectangle.stack"),
               true);
    placeCurrent();
}

void Sidebar::updateRows()
{
    const QList<std::shared_ptr<Post>> posts = m_model.container().mainContext().fetch<Post>();
    const SidebarIndex index(posts, m_model.privateUnlocked(), m_model.pendingDelete().hidden());
    for (const auto &[item, row] : m_fixed + m_boards) {
        row->setCount(index.count(item));
        row->setSelected(item == m_selection);
        if (const auto board = item.boardObject()) {
            row->setTitle(board->name());
            row->setCover(index.cover(board->id()));
        }
    }
    m_fixed[3].second->setSymbol(lockSymbol(m_model.privateUnlocked()));
}

void Sidebar::moveCurrent(int step)
{
    const QList<SidebarRow *> shown = rows();
    m_current = std::clamp(m_current + step, 0, int(shown.size()) - 1);
    showCurrent();
}

void Sidebar::showCurrent()
{
    SidebarRow *current = m_keyboard->ringShown() ? rows().value(m_current) : nullptr;
    for (const auto &[item, row] : m_fixed + m_boards)
        row->setCurrent(row == current);
}

void Sidebar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_keyboard->setByKeyboard(true);
        moveCurrent(event->key() == Qt::Key_Up ? -1 : 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_current >= 0 && m_current < shownEntries().size())
            choose(shownEntries()[m_current].first);
        break;
    case Qt::Key_Menu: openCurrentMenu(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void Sidebar::openCurrentMenu()
{
    if (m_current < 0 || m_current >= shownEntries().size())
        return;
    const auto [item, row] = shownEntries()[m_current];
    if (item.kind() == SidebarItem::Kind::board)
        CollectionMenu::open(row, m_model, item, row->rect().center());
}
