#include "../model/ModelFixture.h"
#include "Board.h"
#include "ContentView.h"
#include "Screenshot.h"
#include "Sidebar.h"
#include "SidebarRow.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QTest>
#include <QToolButton>

namespace {

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
    EXPECT_EQ(titles(sidebar), (QStringList{"收藏", "整理", "已归档", "隐私空间"}));
    EXPECT_EQ(counts(sidebar), (QList<int>{0, 0, 0, 0}));

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
    EXPECT_EQ(sidebar.rows()[3]->symbol(), QStringLiteral("lock"));

    model->pendingDelete().start({second}, 60);
    EXPECT_EQ(counts(sidebar), (QList<int>{1, 0, 1, 0, 0, 1})) << "pending deletes leave the counts";
    model->pendingDelete().undo();
    TestAsync::waitFor(model->unlockPrivate());
    EXPECT_EQ(counts(sidebar), (QList<int>{2, 0, 1, 1, 0, 2}));
    EXPECT_EQ(sidebar.rows()[3]->symbol(), QStringLiteral("lock.open"));

    travel->setName(QStringLiteral("远方"));
    context().remove(food);
    context().save();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(sidebar), (QStringList{"收藏", "整理", "已归档", "隐私空间", "远方"}));

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
    QTest::keyClick(&sidebar, Qt::Key_Down);
    QTest::keyClick(&sidebar, Qt::Key_Return);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0], SidebarItem::archived());
    EXPECT_TRUE(sidebar.rows()[2]->isSelected());
    EXPECT_FALSE(sidebar.rows()[0]->isSelected());

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

TEST_F(SidebarTest, BoardsSectionKeepsItsOpenStateAndOffersANewBoard)
{
    addBoard(QStringLiteral("旅行"), 1);
    {
        Sidebar sidebar(*model);
        EXPECT_TRUE(sidebar.boardsOpen());
        EXPECT_EQ(sidebar.rows().size(), 5);
        sidebar.setBoardsOpen(false);
        EXPECT_EQ(sidebar.rows().size(), 4);
    }
    Sidebar reopened(*model);
    EXPECT_FALSE(reopened.boardsOpen());
    EXPECT_EQ(TamselStore::defaults().object(QStringLiteral("sidebarOpen.boards")), QVariant(false));

    model->setNamingText(QStringLiteral("旧"));
    reopened.findChild<QToolButton *>(QStringLiteral("newBoard"))->click();
    ASSERT_TRUE(model->naming());
    EXPECT_EQ(model->naming()->kind(), Naming::Kind::newBoard);
    EXPECT_TRUE(model->namingText().isEmpty());
}

TEST_F(SidebarTest, WindowAndSidebarShareTheSelection)
{
    ContentView content(*model);
    auto *sidebar = content.findChild<Sidebar *>();
    ASSERT_TRUE(sidebar);
    QTest::keyClick(sidebar, Qt::Key_Down);
    QTest::keyClick(sidebar, Qt::Key_Return);
    EXPECT_EQ(content.selection(), SidebarItem::organize());
    content.setSelection(SidebarItem::archived());
    EXPECT_EQ(sidebar->selection(), SidebarItem::archived());
    EXPECT_TRUE(sidebar->rows()[2]->isSelected());
}

} // namespace
