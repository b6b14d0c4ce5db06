#include "OrganizeView.h"

#include "AuthorsPage.h"
#include "Board.h"
#include "BoardCard.h"
#include "CollectionMenu.h"
#include "CrossFade.h"
#include "MacModel.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "NameOrder.h"
#include "NewBoardTile.h"
#include "Post.h"
#include "PostDropTarget.h"
#include "SegmentBar.h"
#include "SidebarIndex.h"
#include "Symbol.h"
#include "Tag.h"
#include "TagTile.h"
#include "TamselStore.h"
#include "Theme.h"
#include "TileGrid.h"
#include "Typography.h"
#include "UndoableDelete.h"
#include "UserDefaults.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <array>
#include <type_traits>

namespace {

constexpr std::array segments{OrganizeView::Segment::boards, OrganizeView::Segment::tags,
                              OrganizeView::Segment::authors};
constexpr std::array rawValues{QT_TRANSLATE_NOOP("OrganizeView", "合集"),
                               QT_TRANSLATE_NOOP("OrganizeView", "标签"),
                               QT_TRANSLATE_NOOP("OrganizeView", "作者")};

// Spaces and tabs only: a line break typed into the search is searched for.
QString trimmedSearch(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

SidebarItem itemFor(const std::shared_ptr<Board> &board)
{
    return SidebarItem::board(board);
}

SidebarItem itemFor(const std::shared_ptr<Tag> &tag)
{
    return SidebarItem::tag(tag);
}

template <class Record> void dropGone(QList<std::shared_ptr<Record>> &records)
{
    records.removeIf([](const auto &record) { return record->isGone(); });
}

} // namespace

const QString OrganizeView::segmentKey = QStringLiteral("macOrganizeSegment");

OrganizeView::OrganizeView(MacModel &model, QWidget *parent, ImageCache &cache)
    : QWidget(parent), m_model(model), m_cache(cache)
{
    setObjectName(QStringLiteral("OrganizeView"));
    m_segment =
        segment(TamselStore::defaults().string(segmentKey).value_or(QString())).value_or(Segment::boards);
    buildToolbar();

    QStringList titles;
    for (Segment each : segments)
        titles.append(title(each));
    m_segmentBar = new SegmentBar(titles);
    connect(m_segmentBar, &SegmentBar::chosen, this, [this](int index) { setSegment(segments[index]); });
    m_segments = {makeBoardsSegment(), makeTagsSegment(), makeAuthorsSegment()};
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(makeScrollArea());

    connect(&model.container().mainContext(), &ModelContext::changed, this, &OrganizeView::refresh);
    connect(&model.pendingDelete(), &UndoableDelete::hiddenChanged, this, &OrganizeView::refresh);
    showSegment();
}

QWidget *OrganizeView::makeScrollArea()
{
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("organizeContent"));
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(24, 14, 24, 24);
    layout->setSpacing(22);
    layout->addWidget(m_segmentBar, 0, Qt::AlignHCenter);
    for (QWidget *page : std::as_const(m_segments))
        layout->addWidget(page);
    layout->addStretch(1);

    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Tab goes to the page's controls; the scroll area itself shows no focus.
    scroll->setFocusPolicy(Qt::NoFocus);
    const auto paintBackground = [scroll] {
        QPalette background = scroll->palette();
        background.setColor(QPalette::Window, Theme::background().resolved());
        scroll->setPalette(background);
    };
    Theme::paintAndFollow(scroll, paintBackground);
    scroll->setAutoFillBackground(true);
    return scroll;
}

QString OrganizeView::rawValue(Segment segment)
{
    return QString::fromUtf8(rawValues[size_t(segment)]);
}

std::optional<OrganizeView::Segment> OrganizeView::segment(const QString &rawValue)
{
    for (Segment each : segments) {
        if (OrganizeView::rawValue(each) == rawValue)
            return each;
    }
    return std::nullopt;
}

QString OrganizeView::title(Segment segment)
{
    return tr(rawValues[size_t(segment)]);
}

QString OrganizeView::navigationTitle()
{
    return tr("整理");
}

bool OrganizeView::matches(const QString &name, const QString &search)
{
    const QString needle = trimmedSearch(search);
    return needle.isEmpty() || name.contains(needle, Qt::CaseInsensitive);
}

void OrganizeView::buildToolbar()
{
    m_searchField = new QLineEdit(this);
    m_searchField->setObjectName(QStringLiteral("organizeSearch"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMinimumWidth(220);
    connect(m_searchField, &QLineEdit::textChanged, this, &OrganizeView::refresh);
    auto *action = new QWidgetAction(this);
    action->setDefaultWidget(m_searchField);
    m_toolbarAction = action;
}

QWidget *OrganizeView::makeBoardsSegment()
{
    m_boardsGrid = new TileGrid({190, 260, 18, 20});
    auto *newBoard = new NewBoardTile;
    connect(newBoard, &OrganizeTile::activated, this, [this] {
        m_model.setNamingText(QString());
        m_model.setNaming(Naming::newBoard());
    });
    m_newBoardTile = newBoard;
    m_boardsGrid->setTiles({newBoard});
    return m_boardsGrid;
}

QWidget *OrganizeView::makeTagsSegment()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    m_tagsGrid = new TileGrid({200, 280, 12, 10});
    layout->addWidget(m_tagsGrid);
    auto *newTag = new QPushButton(tr("新建标签"));
    newTag->setObjectName(QStringLiteral("newTag"));
    const auto paintIcon = [newTag] {
        newTag->setIcon(
            Symbol::pixmap(QStringLiteral("plus"), 14, newTag->palette().color(QPalette::ButtonText)));
    };
    Theme::paintAndFollow(newTag, paintIcon);
    connect(newTag, &QPushButton::clicked, this, [this] {
        m_model.setNamingText(QString());
        m_model.setNaming(Naming::newTag());
    });
    layout->addWidget(newTag, 0, Qt::AlignLeft);
    m_tagHint = new QLabel(tr("还没有标签。在卡片的右键菜单里加标签，或者把卡片拖到这里的标签上。"));
    m_tagHint->setWordWrap(true);
    m_tagHint->setFont(Typography::callout(font()));
    Theme::useSecondaryText(m_tagHint);
    layout->addWidget(m_tagHint);
    return page;
}

QWidget *OrganizeView::makeAuthorsSegment()
{
    m_authorsPage = new AuthorsPage(m_model.container().mainContext(), m_model.pendingDelete());
    connect(m_searchField, &QLineEdit::textChanged, m_authorsPage, &AuthorsPage::setSearch);
    connect(m_authorsPage, &AuthorsPage::itemActivated, this, &OrganizeView::itemActivated);
    connect(m_authorsPage, &AuthorsPage::toastRequested, &m_model,
            [this](const QString &message) { m_model.show(message); });
    return m_authorsPage;
}

QString OrganizeView::search() const
{
    return m_searchField->text();
}

void OrganizeView::setSearch(const QString &text)
{
    m_searchField->setText(text);
}

void OrganizeView::setSegment(Segment segment)
{
    TamselStore::defaults().setString(segmentKey, rawValue(segment));
    if (segment == m_segment)
        return;
    QWidget *shown = m_segments[qsizetype(m_segment)];
    if (shown->isVisible())
        CrossFade::start(shown, m_segments[qsizetype(segment)]);
    m_segment = segment;
    m_searchField->clear();
    showSegment();
}

void OrganizeView::showSegment()
{
    m_segmentBar->setCurrent(int(m_segment));
    for (qsizetype index = 0; index < m_segments.size(); ++index)
        m_segments[index]->setVisible(index == qsizetype(m_segment));
    m_searchField->setPlaceholderText(tr("搜索%1").arg(title(m_segment)));
    refresh();
}

QList<BoardCard *> OrganizeView::boardCards() const
{
    QList<BoardCard *> cards;
    for (const auto &[item, card] : m_boardTiles)
        cards.append(card);
    return cards;
}

QList<TagTile *> OrganizeView::tagTiles() const
{
    QList<TagTile *> tiles;
    for (const auto &[item, tile] : m_tagTiles)
        tiles.append(tile);
    return tiles;
}

bool OrganizeView::isTagHintShown() const
{
    return !m_tagHint->isHidden();
}

// Counts and covers come from one pass over the posts, as in the sidebar:
// the private space stays locked here, since private posts count nowhere on
// this page.
void OrganizeView::refresh()
{
    const SidebarIndex index(m_model.container().mainContext().fetch<Post>(), false,
                             m_model.pendingDelete().hidden());
    refreshBoards(index);
    refreshTags(index);
}

template <class Tile> Tile *OrganizeView::makeTile(const SidebarItem &item)
{
    Tile *tile = nullptr;
    if constexpr (std::is_same_v<Tile, BoardCard>)
        tile = new BoardCard(nullptr, m_cache);
    else
        tile = new Tile;
    connect(tile, &OrganizeTile::activated, this, [this, item] { emit itemActivated(item); });
    if (auto *target = PostDropTarget::attach(tile, m_model, item))
        connect(target, &PostDropTarget::targetedChanged, tile, &OrganizeTile::setTargeted);
    CollectionMenu::attach(tile, m_model, item);
    return tile;
}

// New tiles only when the records shown changed, so a drop or a colour
// change keeps the tiles, their focus and their open menus.
template <class Tile, class Record>
void OrganizeView::syncTiles(QList<std::pair<SidebarItem, Tile *>> &tiles,
                             const QList<std::shared_ptr<Record>> &records, TileGrid &grid, QWidget *trailing)
{
    bool same = records.size() == tiles.size();
    for (qsizetype i = 0; same && i < records.size(); ++i)
        same = tiles[i].first == itemFor(records[i]);
    if (same)
        return;
    tiles.clear();
    QList<QWidget *> widgets;
    for (const auto &record : records) {
        const SidebarItem item = itemFor(record);
        tiles.append({item, makeTile<Tile>(item)});
        widgets.append(tiles.last().second);
    }
    if (trailing)
        widgets.append(trailing);
    grid.setTiles(widgets);
}

void OrganizeView::refreshBoards(const SidebarIndex &index)
{
    const auto oldestFirst = [](const Board &a, const Board &b) { return a.createdAt() < b.createdAt(); };
    QList<std::shared_ptr<Board>> boards = m_model.container().mainContext().fetch<Board>({{}, oldestFirst});
    dropGone(boards);
    boards.removeIf([this](const auto &board) { return !matches(board->name(), search()); });

    syncTiles(m_boardTiles, boards, *m_boardsGrid, m_newBoardTile);
    for (const auto &[item, card] : std::as_const(m_boardTiles)) {
        const auto board = item.boardObject();
        card->setValues(board->name(), index.count(item), authorsLine(*board), index.covers(board->id()));
    }
    m_boardsGrid->updateGeometry();
}

QString OrganizeView::authorsLine(const Board &board)
{
    QStringList names;
    for (const AuthorAccount &account : board.linkedAuthors())
        names.append(account.name());
    return names.join(tr("、", "list separator"));
}

void OrganizeView::refreshTags(const SidebarIndex &index)
{
    QList<std::shared_ptr<Tag>> tags =
        m_model.container().mainContext().fetch<Tag>({{}, NameOrder::less<Tag>});
    dropGone(tags);
    m_tagHint->setHidden(!tags.isEmpty());
    tags.removeIf([this](const auto &tag) { return !matches(tag->name(), search()); });

    syncTiles(m_tagTiles, tags, *m_tagsGrid, nullptr);
    for (const auto &[item, tile] : std::as_const(m_tagTiles)) {
        const auto tag = item.tagObject();
        tile->setValues(tag->name(), tag->colorHex(), index.count(item));
    }
}
