#include "../model/ModelFixture.h"
#include "AuthorsPage.h"
#include "Board.h"
#include "BoardCard.h"
#include "CollectionMenu.h"
#include "ContentView.h"
#include "DropEvents.h"
#include "LibraryFixture.h"
#include "LibraryView.h"
#include "NavigationStack.h"
#include "OrganizeView.h"
#include "PersonEntry.h"
#include "Screenshot.h"
#include "Tag.h"
#include "TagTile.h"
#include "UndoableDelete.h"
#include "UserDefaults.h"
#include "WaitFor.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QThreadPool>
#include <QToolBar>

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
    travel->setLinkedAuthors({AuthorAccount(Platform::weibo, QStringLiteral("林")),
                              AuthorAccount(Platform::x, QStringLiteral("Ann"))});
    context().save();

    OrganizeView view(*model);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->count(), 5);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->authors(), QStringLiteral("林、Ann"));
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->covers(),
              (QList{travelPosts[2]->cover(), travelPosts[1]->cover(), travelPosts[0]->cover()}));
    EXPECT_EQ(card(view, QStringLiteral("美食"))->count(), 0);
    EXPECT_TRUE(card(view, QStringLiteral("美食"))->covers().isEmpty());
    EXPECT_TRUE(card(view, QStringLiteral("美食"))->authors().isEmpty());
    EXPECT_EQ(view.tagTiles().value(0)->count(), 1);

    // Unlocking the private space changes nothing here.
    TestAsync::waitFor(model->unlockPrivate());
    ASSERT_TRUE(model->privateUnlocked());
    model->pendingDelete().start({travelPosts[2], travelPosts[0]}, 60);
    announce();
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->count(), 3);
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->covers(), (QList{travelPosts[1]->cover()}));
    EXPECT_EQ(view.tagTiles().value(0)->count(), 0);
    model->pendingDelete().undo();
    announce();
    EXPECT_EQ(card(view, QStringLiteral("旅行"))->count(), 5);

    context().remove(food);
    context().save();
    announce();
    EXPECT_EQ(names(view), (QStringList{"旅行", "猫"}));
}

TEST_F(OrganizeViewTest, SegmentSurvivesARestartAndAStrangeValueOpensBoards)
{
    {
        OrganizeView view(*model);
        EXPECT_EQ(view.segment(), OrganizeView::Segment::boards);
        view.setSegment(OrganizeView::Segment::tags);
    }
    UserDefaults::reopenStandard();
    EXPECT_EQ(OrganizeView(*model).segment(), OrganizeView::Segment::tags);

    for (const QString &stored : {QStringLiteral("tags"), QStringLiteral("标签 ")}) {
        TamselStore::defaults().setString(OrganizeView::segmentKey, stored);
        EXPECT_EQ(OrganizeView(*model).segment(), OrganizeView::Segment::boards) << stored.toStdString();
    }
}

TEST_F(OrganizeViewTest, SearchFiltersTheSegmentShownAndClearsOnSwitch)
{
    addBoard(QStringLiteral("Travel Notes"));
    addBoard(QStringLiteral("美食"));
    auto cat = addTag(QStringLiteral("猫"));
    OrganizeView view(*model);

    view.setSearch(QStringLiteral("  notes\t"));
    EXPECT_EQ(names(view), (QStringList{"Travel Notes"}));
    view.setSearch(QStringLiteral("notes\n"));
    EXPECT_EQ(names(view), QStringList());
    EXPECT_FALSE(view.isTagHintShown());

    view.setSegment(OrganizeView::Segment::tags);
    EXPECT_TRUE(view.search().isEmpty());
    EXPECT_EQ(names(view), (QStringList{"Travel Notes", "美食", "猫"}));

    context().remove(cat);
    context().save();
    announce();
    EXPECT_TRUE(view.isTagHintShown());
}

TEST_F(OrganizeViewTest, TheAuthorsSegmentTakesTheSearchAndOpensPersons)
{
    for (const char *name : {"林", "Ann"}) {
        auto post = addPost(QStringLiteral("https://example.com/%1").arg(QString::fromUtf8(name)));
        post->setAuthorName(QString::fromUtf8(name));
        context().save();
    }
    OrganizeView view(*model);
    view.setSegment(OrganizeView::Segment::authors);
    ASSERT_EQ(view.authorsPage()->otherEntries().size(), 2);
    view.setSearch(QStringLiteral("ann"));
    ASSERT_EQ(view.authorsPage()->otherEntries().size(), 1);

    QList<SidebarItem> opened;
    QObject::connect(&view, &OrganizeView::itemActivated,
                     [&](const SidebarItem &item) { opened.append(item); });
    emit view.authorsPage()->otherEntries().first()->activated(AuthorAccount(Platform::web, QStringLiteral("Ann")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().kind(), SidebarItem::Kind::author);
}

TEST_F(OrganizeViewTest, ACardDroppedOnATagTileGetsTheTag)
{
    auto tag = addTag(QStringLiteral("猫"));
    auto post = addPost(QStringLiteral("https://example.com/cat"));
    OrganizeView view(*model);
    view.setSegment(OrganizeView::Segment::tags);
    ASSERT_EQ(view.tagTiles().size(), 1);
    TagTile *tile = view.tagTiles()[0];

    EXPECT_EQ(DropEvents::drop(tile, *DropEvents::card(post)), std::make_pair(true, true));
    EXPECT_EQ(post->tags(), (QList{tag}));
    EXPECT_EQ(model->toast(), QStringLiteral("已添加标签 #猫"));
    announce();
    EXPECT_EQ(tile->count(), 1);
    EXPECT_EQ(view.tagTiles().value(0), tile);
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
    EXPECT_EQ(checked(QStringLiteral("blue")), QStringList());

    auto tag = addTag(QStringLiteral("狗"));
    CollectionMenu menu(*model, SidebarItem::tag(tag));
    menu.colorMenu()->actions()[5]->trigger();
    EXPECT_EQ(tag->colorHex(), QStringLiteral("#3B82F6"));
    EXPECT_FALSE(context().hasChanges());
    EXPECT_EQ(CollectionMenu(*model, SidebarItem::board(addBoard(QStringLiteral("旅行")))).colorMenu(),
              nullptr);
}

TEST_F(OrganizeViewTest, TilesOpenMenusAndTheKeyboardWalksAndOpensThem)
{
    auto first = addBoard(QStringLiteral("旅行"));
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
    QTest::keyClick(view.boardCards()[1], Qt::Key_Tab);
    EXPECT_TRUE(view.newBoardTile()->hasFocus());
    QTest::keyClick(view.newBoardTile(), Qt::Key_Return);
    EXPECT_EQ(model->naming()->kind(), Naming::Kind::newBoard);
    model->setNaming(std::nullopt);

    QTest::mouseClick(view.boardCards()[0], Qt::LeftButton);
    EXPECT_EQ(opened.last(), SidebarItem::board(first));
    QTest::keyClick(view.boardCards()[0], Qt::Key_Menu);
    auto *menu = qobject_cast<CollectionMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->actions()[0]->trigger();
    EXPECT_EQ(model->namingText(), QStringLiteral("旅行"));
    menu->close();
}

TEST_F(OrganizeViewTest, ContentViewShowsTheOrganizePageWithItsSearchAndOpensTiles)
{
    auto board = addBoard(QStringLiteral("旅行"));
    ContentView content(*model);
    content.setSelection(SidebarItem::organize());
    auto *view = qobject_cast<OrganizeView *>(content.stack().top());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(content.findChild<QToolBar *>()->actions().contains(view->toolbarAction()));
    emit view->boardCards()[0]->activated();
    auto *library = qobject_cast<LibraryView *>(content.stack().top());
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->item(), SidebarItem::board(board));
}

TEST_F(OrganizeViewTest, ScreenshotsOfBoardCardsAndTagTiles)
{
    const QList<QColor> colors{QColor("#C96F4A"), QColor("#5B8DB8"), QColor("#6BA368")};
    for (int covers = 0; covers <= 3; ++covers) {
        auto board = addBoard(QStringLiteral("%1 张封面的合集").arg(covers));
        addFiled(board, false);
        for (int index = 0; index < covers; ++index)
            addFiled(board, true, colors[index]);
        if (covers == 2)
            board->setLinkedAuthors({AuthorAccount(Platform::weibo, QStringLiteral("林")),
                                     AuthorAccount(Platform::x, QStringLiteral("Ann"))});
    }
    addFiled(nullptr, false)->setTags({addTag(QStringLiteral("猫"))});
    context().save();
    addTag(QStringLiteral("旅行攻略"), QStringLiteral("#3B82F6"));
    addTag(QStringLiteral("一个很长很长很长很长很长很长的标签名字"), QStringLiteral("#3FA34D"));
    OrganizeView view(*model);
    view.resize(980, 640);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    // The thumbnails decode in workers and arrive through the event loop.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    view.boardCards()[2]->setFocus();
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("organize-boards")));
    view.setSegment(OrganizeView::Segment::tags);
    view.tagTiles()[1]->setTargeted(true);
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("organize-tags")));
}

} // namespace
