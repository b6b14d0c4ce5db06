#include "../model/ModelFixture.h"
#include "Board.h"
#include "CollectionMenu.h"
#include "Divider.h"
#include "DropEvents.h"
#include "PostDrag.h"
#include "Screenshot.h"
#include "Sidebar.h"
#include "SidebarRow.h"
#include "Theme.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QTest>
#include <QToolButton>

namespace {

using DropEvents::card;
using DropEvents::drop;

class SidebarTest : public ModelTest {
protected:
    SidebarTest()
    {
        makeModel();
        model->setPasswordPrompt([](const QString &) { return QStringLiteral("secret"); });
    }

    std::shared_ptr<Board> addBoard(const QString &name, int minutes)
    {
        auto board = std::make_shared<Board>(name, QString());
        board->setCreatedAt(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(minutes * 60));
        context().insert(board);
        context().save();
        return board;
    }
    std::shared_ptr<Post> addFiled(const QString &link, const std::shared_ptr<Board> &board)
    {
        auto post = addPost(link);
        post->setBoards({board});
        context().save();
        return post;
    }
    static QStringList titles(const Sidebar &sidebar)
    {
        QStringList shown;
        for (const SidebarRow *row : sidebar.rows())
            shown.append(row->title());
        return shown;
    }
    static QList<int> counts(const Sidebar &sidebar)
    {
        QList<int> shown;
        for (const SidebarRow *row : sidebar.rows())
            shown.append(row->count());
        return shown;
    }
};

TEST_F(SidebarTest, RowsAndCountsFollowTheStoreAndTheLock)
{
    Sidebar sidebar(*model);
    auto travel = addBoard(QStringLiteral("旅行"), 2);
    auto food = addBoard(QStringLiteral("美食"), 1);
    addFiled(QStringLiteral("https://example.com/1"), travel);
    auto second = addFiled(QStringLiteral("https://example.com/2"), travel);
    addPost(QStringLiteral("https://example.com/3"))->setIsPrivate(true);
    auto archived = addFiled(QStringLiteral("https://example.com/4"), food);
    archived->setIsArchived(true);
    context().save();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(sidebar), (QStringList{"收藏", "整理", "已归档", "隐私空间", "美食", "旅行"}))
        << "boards oldest first";
    EXPECT_EQ(counts(sidebar), (QList<int>{2, 0, 1, 0, 0, 2}));

    model->pendingDelete().start({second}, 60);
    EXPECT_EQ(counts(sidebar), (QList<int>{1, 0, 1, 0, 0, 1})) << "pending deletes leave the counts";
    model->pendingDelete().undo();
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_EQ(counts(sidebar), (QList<int>{2, 0, 1, 1, 0, 2}));
    sidebar.resize(240, 320);
    sidebar.setSelection(SidebarItem::board(travel));
    EXPECT_TRUE(saveScreenshot(sidebar, QStringLiteral("sidebar")));
}

TEST_F(SidebarTest, KeyboardWalksTheShownRowsAndReturnSelects)
{
    auto board = addBoard(QStringLiteral("旅行"), 1);
    Sidebar sidebar(*model);
    QList<SidebarItem> chosen;
    QObject::connect(&sidebar, &Sidebar::selectionChosen,
                     [&](const SidebarItem &item) { chosen.append(item); });
    QTest::keyClick(&sidebar, Qt::Key_Up);
    QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0], SidebarItem::organize());

    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Enter);
    EXPECT_EQ(sidebar.selection(), SidebarItem::board(board)) << "stops at the last row";

    sidebar.setBoardsOpen(false);
    EXPECT_EQ(sidebar.currentRow(), 3) << "a hidden board cannot stay current";
    QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Return);
    EXPECT_EQ(sidebar.selection(), SidebarItem::privateSpace());
}

TEST_F(SidebarTest, AClickMovesTheKeyboardCursorSoOnlyOneRowLooksChosen)
{
    Sidebar sidebar(*model);
    sidebar.show();
    sidebar.setFocus();
    QTest::keyClick(&sidebar, Qt::Key_Down);
    ASSERT_EQ(sidebar.currentRow(), 1);
    QTest::mouseClick(sidebar.rows()[2], Qt::LeftButton);
    EXPECT_EQ(sidebar.selection(), SidebarItem::archived());
    EXPECT_EQ(sidebar.currentRow(), 2);
    EXPECT_FALSE(sidebar.rows()[1]->isCurrent());
    QTest::keyClick(&sidebar, Qt::Key_Down);
    EXPECT_EQ(sidebar.currentRow(), 3) << "the keyboard goes on from the clicked row";

    sidebar.setSelection(SidebarItem::organize());
    EXPECT_EQ(sidebar.currentRow(), 1) << "a selection made elsewhere takes the cursor along";
    EXPECT_FALSE(sidebar.rows()[3]->isCurrent());
}

TEST_F(SidebarTest, BoardsSectionKeepsItsOpenStateAndOffersANewBoard)
{
    addBoard(QStringLiteral("旅行"), 1);
    Sidebar(*model).setBoardsOpen(false);
    Sidebar reopened(*model);
    EXPECT_FALSE(reopened.boardsOpen());
    EXPECT_EQ(reopened.rows().size(), 4);

    model->setNamingText(QStringLiteral("旧"));
    reopened.findChild<QToolButton *>(QStringLiteral("newBoard"))->click();
    ASSERT_TRUE(model->naming());
    EXPECT_TRUE(model->namingText().isEmpty());
}

TEST_F(SidebarTest, TheBoardsHeaderFoldsTheSectionAndIsDrawnAsAHeader)
{
    addBoard(QStringLiteral("旅行"), 1);
    Sidebar sidebar(*model);
    sidebar.resize(220, 400);
    sidebar.show();
    auto *header = sidebar.findChild<QWidget *>(QStringLiteral("boardsHeader"));
    ASSERT_TRUE(header);
    // A pressed or raised button fills its corners; a header leaves the
    // sidebar's background there.
    const auto cornersBare = [&] {
        const QImage image = sidebar.grab().toImage();
        const QRect corners(header->mapTo(&sidebar, QPoint(1, 1)), header->size() - QSize(3, 3));
        const QColor background = image.pixelColor(corners.topLeft() - QPoint(2, 2));
        return image.pixelColor(corners.topLeft()) == background &&
               image.pixelColor(corners.bottomRight()) == background;
    };
    EXPECT_TRUE(cornersBare()) << "open";
    EXPECT_TRUE(saveScreenshot(sidebar, QStringLiteral("sidebar-boards-open")));

    QTest::mouseClick(header, Qt::LeftButton);
    EXPECT_FALSE(sidebar.boardsOpen());
    EXPECT_EQ(sidebar.rows().size(), 4);
    EXPECT_TRUE(cornersBare()) << "folded";
    QTest::mousePress(header, Qt::LeftButton);
    EXPECT_TRUE(cornersBare()) << "while the mouse is down";
    QTest::mouseRelease(header, Qt::LeftButton);
    EXPECT_TRUE(sidebar.boardsOpen());
    EXPECT_EQ(sidebar.rows().size(), 5);
}

// The line above the sync status is a hairline on a light page and a dark
// one, not the text colour at full strength.
TEST_F(SidebarTest, TheLineAboveTheSyncStatusIsFaintInBothAppearances)
{
    const QPalette before = QApplication::palette();
    for (const auto appearance : {Theme::Appearance::light, Theme::Appearance::dark}) {
        QApplication::setPalette(Theme::palette(appearance));
        Sidebar sidebar(*model);
        sidebar.resize(220, 400);
        sidebar.show();
        const auto *divider = sidebar.findChild<Divider *>();
        ASSERT_TRUE(divider);
        const QImage image = sidebar.grab().toImage();
        const QPoint centre = divider->mapTo(&sidebar, divider->rect().center());
        const int contrast = std::abs(qGray(image.pixel(centre)) - qGray(image.pixel(centre - QPoint(0, 4))));
        EXPECT_GT(contrast, 8);
        EXPECT_LT(contrast, 60);
    }
    QApplication::setPalette(before);
}

TEST_F(SidebarTest, ABoardRowOpensItsMenuByRightClickButAFixedRowHasNone)
{
    auto board = addBoard(QStringLiteral("旅行"), 1);
    Sidebar sidebar(*model);
    sidebar.resize(240, 320);
    sidebar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sidebar));
    const auto openedMenu = [] {
        auto *menu = qobject_cast<CollectionMenu *>(QApplication::activePopupWidget());
        if (menu)
            menu->close();
        return menu != nullptr;
    };
    QTest::keyClick(&sidebar, Qt::Key_Menu);
    EXPECT_FALSE(openedMenu()) << "not on a fixed row";
    SidebarRow *row = sidebar.rows()[4];
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(4, 4), row->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(row, &rightClick);
    auto *menu = qobject_cast<CollectionMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->actions().last()->trigger();
    EXPECT_EQ(model->deleting(), SidebarItem::board(board));
    menu->close();
}

TEST_F(SidebarTest, CardsDroppedOnABoardOrTheArchiveAreFiled)
{
    auto travel = addBoard(QStringLiteral("旅行"), 1);
    const QList<std::shared_ptr<Post>> posts{addPost(QStringLiteral("https://example.com/1")),
                                             addPost(QStringLiteral("https://example.com/2")),
                                             addPost(QStringLiteral("https://example.com/3"))};
    posts[2]->setIsArchived(true);
    context().save();
    Sidebar sidebar(*model);
    SidebarRow *board = sidebar.rows()[4];

    for (const auto &post : posts) {
        EXPECT_EQ(drop(board, *card(post)), std::make_pair(true, true));
        EXPECT_TRUE(post->boards().contains(travel));
    }
    EXPECT_FALSE(board->isTargeted()) << "the glow ends with the drop";
    QCoreApplication::processEvents();
    EXPECT_EQ(sidebar.rows()[4]->count(), 2) << "the archived post counts only under the archive";

    EXPECT_EQ(drop(sidebar.rows()[2], *card(posts[0])), std::make_pair(true, true));
    EXPECT_TRUE(posts[0]->isArchived());
    QCoreApplication::processEvents();
    EXPECT_EQ(sidebar.rows()[2]->count(), 2);
}

TEST_F(SidebarTest, DropsOfNoKnownLivePostOrOnOtherRowsAreRefusedSilently)
{
    addBoard(QStringLiteral("旅行"), 1);
    auto post = addPost(QStringLiteral("https://example.com/1"));
    auto doomed = addPost(QStringLiteral("https://example.com/2"));
    Sidebar sidebar(*model);
    EXPECT_EQ(drop(sidebar.rows()[3], *card(post)), std::make_pair(false, false)) << "not on the private row";

    QMimeData foreign;
    foreign.setData(PostDrag::mimeType, R"({"id":"not an id","link":"https://example.com/1"})");
    const auto unknown = PostDrag{QUuid::createUuid(), QStringLiteral("https://example.com/9")}.mimeData();
    const auto pending = card(doomed);
    model->pendingDelete().start({doomed}, 60);
    for (const QMimeData *data : {&foreign, unknown.get(), pending.get()}) {
        EXPECT_FALSE(drop(sidebar.rows()[4], *data).second);
        EXPECT_FALSE(sidebar.rows()[4]->isTargeted());
    }
    EXPECT_FALSE(model->toast());
    EXPECT_TRUE(doomed->boards().isEmpty());
}

} // namespace
