#pragma once

#include "ImageCache.h"
#include "SidebarItem.h"

#include <QList>
#include <QWidget>
#include <optional>
#include <utility>

class AuthorsPage;
class Board;
class BoardCard;
class MacModel;
class QAction;
class QLabel;
class QLineEdit;
class SegmentBar;
class SidebarIndex;
class TagTile;
class TileGrid;

// The organize page: boards, tags and authors, one segment at a time. Board
// and tag tiles open the board or tag, take posts dropped on them and carry
// the collection menu; one toolbar search field filters the segment shown.
// The chosen segment is kept in the settings.
class OrganizeView : public QWidget {
    Q_OBJECT
public:
    enum class Segment { boards, tags, authors };
    static const QString segmentKey;

    explicit OrganizeView(MacModel &model, QWidget *parent = nullptr,
                          ImageCache &cache = ImageCache::shared());

    // The stored name of a segment, which is also its untranslated title.
    static QString rawValue(Segment segment);
    static std::optional<Segment> segment(const QString &rawValue);
    static QString title(Segment segment);
    // The page's name in the navigation bar.
    static QString navigationTitle();
    // Whether a name passes the search: any name for a text that is blank
    // after trimming spaces and tabs, else one containing that text in any
    // letter case.
    static bool matches(const QString &name, const QString &search);

    Segment segment() const { return m_segment; }
    // Shows the segment, keeps it in the settings and clears the search.
    void setSegment(Segment segment);
    QString search() const;
    void setSearch(const QString &text);
    QLineEdit *searchField() const { return m_searchField; }
    // The search field for the window's toolbar.
    QAction *toolbarAction() const { return m_toolbarAction; }

    QList<BoardCard *> boardCards() const;
    QList<TagTile *> tagTiles() const;
    QWidget *newBoardTile() const { return m_newBoardTile; }
    AuthorsPage *authorsPage() const { return m_authorsPage; }
    bool isTagHintShown() const;

signals:
    // A board or tag tile was opened.
    void itemActivated(const SidebarItem &item);

private:
    QWidget *makeScrollArea();
    QWidget *makeBoardsSegment();
    QWidget *makeTagsSegment();
    QWidget *makeAuthorsSegment();
    void buildToolbar();
    void showSegment();
    void refresh();
    void refreshBoards(const SidebarIndex &index);
    void refreshTags(const SidebarIndex &index);
    template <class Tile> Tile *makeTile(const SidebarItem &item);
    template <class Tile, class Record>
    void syncTiles(QList<std::pair<SidebarItem, Tile *>> &tiles,
                   const QList<std::shared_ptr<Record>> &records, TileGrid &grid, QWidget *trailing);
    static QString authorsLine(const Board &board);

    MacModel &m_model;
    ImageCache &m_cache;
    Segment m_segment = Segment::boards;
    SegmentBar *m_segmentBar;
    QList<QWidget *> m_segments; // in segment order
    TileGrid *m_boardsGrid = nullptr;
    TileGrid *m_tagsGrid = nullptr;
    QWidget *m_newBoardTile = nullptr;
    AuthorsPage *m_authorsPage = nullptr;
    QLabel *m_tagHint = nullptr;
    QList<std::pair<SidebarItem, BoardCard *>> m_boardTiles;
    QList<std::pair<SidebarItem, TagTile *>> m_tagTiles;
    QAction *m_toolbarAction;
    QLineEdit *m_searchField;
};
