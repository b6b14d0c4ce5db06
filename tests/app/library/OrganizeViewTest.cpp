#include "../model/ModelFixture.h"
#include "AuthorsPage.h"
#include "Board.h"
#include "BoardCard.h"
#include "CollectionMenu.h"
#include "LibraryFixture.h"
#include "NewBoardTile.h"
#include "OrganizeView.h"
#include "PostMenu.h"
#include "Screenshot.h"
#include "Tag.h"
#include "TagTile.h"
#include "Text.h"
#include "UndoableDelete.h"
#include "UserDefaults.h"
#include "WaitFor.h"

#include <QTest>
#include <QThreadPool>

namespace {

class OrganizeViewTest : public ModelTest {
protected:
    OrganizeViewTest()
    {
        makeModel();
        model->setPasswordPrompt([](const QString &) { return QStringLiteral("secret"); });
    }

    std::shared_ptr<Board> addBoard(const QString &name)
    {
        auto board = std::make_shared<Board>(name, QString());
        board->setCreatedAt(QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addSecs(++m_serial * 60));
        context().insert(board);
        context().save();
        return board;
    }
    std::shared_ptr<Tag> addTag(const QString &name, const QString &color = QStringLiteral("#D97757"))
    {
        auto tag = std::make_shared<Tag>(name, color);
        context().insert(tag);
        context().save();
        return tag;
    }
    // A post of the board, newer than every post before it.
    std::shared_ptr<Post> addFiled(const std::shared_ptr<Board> &board, bool withCover,
                                   const QColor &color = QColor("#5B8DB8"))
    {
        auto post = addPost(QStringLiteral("https://example.com/%1").arg(++m_serial));
        post->setCreatedAt(QDateTime(QDate(2026, 2, 1), QTime(0, 0)).addSecs(m_serial * 60));
        if (board)
            post->setBoards({board});
        if (withCover)
            LibraryFixture::addCover(post, 300, 200, color);
        context().save();
        return post;
    }
    // The store announces its changes on the next turn of the event loop.
    static void announce() { QCoreApplication::processEvents(); }
    static BoardCard *card(const OrganizeView &view, const QString &name)
    {
        for (BoardCard *card : view.boardCards())
            if (card->name() == name)
                return card;
        return nullptr;
    }
    static QStringList names(const OrganizeView &view)
    {
        QStringList shown;
        for (const BoardCard *card : view.boardCards())
            shown.append(card->name());
        for (const TagTile *tile : view.tagTiles())
            shown.append(tile->name());
        return shown;
    }

private:
    int m_serial = 0;
};

TEST_F(OrganizeViewTest, BoardAndTagCountsLeaveOutPrivateArchivedAndPendingPosts)
{
    auto travel = addBoard(QStringLiteral("旅行"));
    auto food = addBoard(QStringLiteral("美食"));
    auto tag = addTag(QStringLiteral("猫"));
    // Oldest to newest: covers are the newest three posts that have media.
    QList<std::shared_ptr<Post>> travelPosts;
    for (int index = 0; index < 5; ++index)
        travelPosts.append(addFiled(travel, index < 3));
    auto secret = addFiled(travel, true);
    secret->setIsPrivate(true);
    auto archived = addFiled(food, true);
    archived->setIsArchived(true);
    for (const auto &post : {travelPosts[0], secret, archived})
        post->setTags({tag});
    context().save();

    OrganizeView view(*model);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->count(), 5);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->covers(),
              (QList{travelPosts[2]->cover(), travelPosts[1]->cover(), travelPosts[0]->cover()}));
    EXPECT_EQ(card(view, QStringLiteral("美食"))->count(), 0);
    EXPECT_EQ(view.tagTiles().value(0)->count(), 1);

    // Unlocking the private space changes nothing here.
    TestAsync::waitFor(model->unlockPrivate());
    ASSERT_TRUE(model->privateUnlocked());
    model->pendingDelete().start({travelPosts[2], travelPosts[0]}, 60);
    announce();
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->count(), 3);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->covers(), (QList{travelPosts[1]->cover()}));
    EXPECT_EQ(view.tagTiles().value(0)->count(), 0);
}

TEST_F(OrganizeViewTest, TagsReadInTheLocalesOrderHereAndInThePostMenu)
{
    for (const char *name : {"Zebra", "tag10", "猫", "apple", "tag2", "阿"})
        addTag(QString::fromUtf8(name));
    OrganizeView view(*model);
    view.setSegment(OrganizeView::Segment::tags);
    announce();
    QStringList tiles;
    for (const TagTile *tile : view.tagTiles())
        tiles.append(tile->name());
    PostMenu menu(addPost(QStringLiteral("https://example.com/menu")), context(), model->pendingDelete());
    QStringList entries;
    for (const QAction *action : menu.actions())
        if (action->text() == QStringLiteral("标签"))
            for (const QAction *entry : action->menu()->actions())
                entries.append(entry->text());

    EXPECT_EQ(tiles, entries) << "one order for one list";
    EXPECT_TRUE(std::is_sorted(tiles.cbegin(), tiles.cend(), Text::localizedStandardLess));
    EXPECT_LT(tiles.indexOf(QStringLiteral("apple")), tiles.indexOf(QStringLiteral("Zebra")));
    EXPECT_LT(tiles.indexOf(QStringLiteral("tag2")), tiles.indexOf(QStringLiteral("tag10")));
}

TEST_F(OrganizeViewTest, SegmentSurvivesARestartAndAStrangeValueOpensBoards)
{
    OrganizeView(*model).setSegment(OrganizeView::Segment::tags);
    UserDefaults::reopenStandard();
    EXPECT_EQ(OrganizeView(*model).segment(), OrganizeView::Segment::tags);

    TamselStore::defaults().setString(OrganizeView::segmentKey, QStringLiteral("标签 "));
    EXPECT_EQ(OrganizeView(*model).segment(), OrganizeView::Segment::boards);
}

TEST_F(OrganizeViewTest, SearchFiltersTheSegmentShownAndClearsOnSwitch)
{
    addBoard(QStringLiteral("Travel Notes"));
    addBoard(QStringLiteral("美食"));
    auto cat = addTag(QStringLiteral("猫"));
    OrganizeView view(*model);

    view.setSearch(QStringLiteral("  notes\t"));
    EXPECT_EQ(names(view), (QStringList{"Travel Notes"}));

    view.setSegment(OrganizeView::Segment::tags);
    EXPECT_TRUE(view.search().isEmpty());
    EXPECT_EQ(names(view), (QStringList{"Travel Notes", "美食", "猫"}));

    context().remove(cat);
    context().save();
    announce();
    EXPECT_TRUE(view.isTagHintShown());
}

TEST_F(OrganizeViewTest, ColourMenuChecksOnlyAnExactPaletteColour)
{
    const auto checked = [this](const QString &color) {
        CollectionMenu menu(*model, SidebarItem::tag(addTag(color, color)));
        QStringList names;
        for (const QAction *action : menu.colorMenu()->actions())
            if (action->isChecked())
                names.append(action->text());
        return names;
    };
    EXPECT_EQ(checked(QStringLiteral("#D97757")), QStringList{"陶土"});
    EXPECT_EQ(checked(QStringLiteral("#d97757")), QStringList());
}

TEST_F(OrganizeViewTest, TheKeyboardWalksTheTilesAndOpensThem)
{
    addBoard(QStringLiteral("旅行"));
    auto second = addBoard(QStringLiteral("美食"));
    OrganizeView view(*model);
    view.resize(900, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QList<SidebarItem> opened;
    QObject::connect(&view, &OrganizeView::itemActivated,
                     [&](const SidebarItem &item) { opened.append(item); });

    view.boardCards()[0]->setFocus();
    QTest::keyClick(view.boardCards()[0], Qt::Key_Right);
    ASSERT_TRUE(view.boardCards()[1]->hasFocus());
    QTest::keyClick(view.boardCards()[1], Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], SidebarItem::board(second));
}

TEST_F(OrganizeViewTest, OnlyTheKeyboardRingsATileAndTheRingGoesWithARightClick)
{
    addBoard(QStringLiteral("旅行"));
    addBoard(QStringLiteral("美食"));
    OrganizeView view(*model);
    view.resize(900, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    const QList<BoardCard *> cards = view.boardCards();
    const auto ringed = [&] { return QList<bool>{cards[0]->focusRingShown(), cards[1]->focusRingShown()}; };

    QTest::mouseClick(cards[0], Qt::RightButton);
    ASSERT_TRUE(cards[0]->hasFocus());
    EXPECT_EQ(ringed(), QList<bool>({false, false})) << "a right-click gives focus, not a ring";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(ringed(), QList<bool>({false, true}));
    QTest::mouseClick(cards[0], Qt::RightButton);
    EXPECT_EQ(ringed(), QList<bool>({false, false}));
}

TEST_F(OrganizeViewTest, ScreenshotsOfBoardCardsAndTagTiles)
{
    const QList<QColor> colors{QColor("#C96F4A"), QColor("#5B8DB8"), QColor("#6BA368")};
    for (int covers = 0; covers <= 3; ++covers) {
        auto board = addBoard(QStringLiteral("%1 张封面的合集").arg(covers));
        addFiled(board, false);
        for (int index = 0; index < covers; ++index)
            addFiled(board, true, colors[index]);
    }
    addTag(QStringLiteral("一个很长很长很长很长很长很长的标签名字"), QStringLiteral("#3FA34D"));
    OrganizeView view(*model);
    view.resize(980, 640);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // The thumbnails decode in workers and arrive through the event loop.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    view.boardCards()[2]->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("organize-boards")));
    view.setSegment(OrganizeView::Segment::tags);
    view.tagTiles()[0]->setTargeted(true);
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("organize-tags")));
}

TEST_F(OrganizeViewTest, TheNewBoardTileStandsLevelWithTheBoardsBesideIt)
{
    auto board = addBoard(QStringLiteral("旅行"));
    board->setLinkedAuthors({AuthorAccount(Platform::weibo, QStringLiteral("林"))});
    context().save();
    OrganizeView view(*model);
    view.resize(980, 640);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    BoardCard *card = view.boardCards().value(0);
    auto *tile = static_cast<NewBoardTile *>(view.newBoardTile());
    ASSERT_TRUE(card && tile);
    const QRectF collage = card->collageRect().translated(card->mapTo(&view, QPoint()));
    const QRectF dashed = tile->tileRect().translated(tile->mapTo(&view, QPoint()));
    EXPECT_EQ(dashed.top(), collage.top());
    EXPECT_EQ(dashed.height(), collage.height());
}

} // namespace
