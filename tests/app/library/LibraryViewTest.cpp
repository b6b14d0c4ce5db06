#include "LibraryView.h"

#include "AuthorGroup.h"
#include "AuthorMerge.h"
#include "FilterChip.h"
#include "LibraryFixture.h"
#include "Masonry.h"
#include "Motion.h"
#include "PostMenu.h"
#include "SteppedMotions.h"
#include "Screenshot.h"
#include "StarredStrip.h"
#include "UndoableDelete.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

class LibraryViewTest : public LibraryFixture {
protected:
    std::unique_ptr<LibraryView> makeView(const SidebarItem &item = SidebarItem::all())
    {
        auto view = std::make_unique<LibraryView>(context, pendingDelete, item, nullptr, cache);
        view->resize(746, 700);
        return view;
    }

    static QStringList titles(const QList<std::shared_ptr<Post>> &posts)
    {
        QStringList result;
        for (const auto &post : posts)
            result << post->title();
        return result;
    }

    UndoableDelete pendingDelete;
    ImageCache cache;
};

TEST_F(LibraryViewTest, SelectionsSearchAndSortPickAndOrderThePosts)
{
    auto plain = addPost(QStringLiteral("plain"));
    auto archived = addPost(QStringLiteral("archived"));
    archived->setIsArchived(true);
    auto hidden = addPost(QStringLiteral("private"));
    hidden->setIsPrivate(true);
    auto boarded = addPost(QStringLiteral("Boarded Cat"));
    auto board = addBoard(QStringLiteral("旅行"));
    boarded->setBoards({board});
    save();

    auto view = makeView();
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"Boarded Cat", "plain"})) << "newest saved first";
    view->setItem(SidebarItem::privateSpace());
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"private"}));

    view->setItem(SidebarItem::all());
    view->setSearch(QStringLiteral(" \tcAT  "));
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"Boarded Cat"})) << "trimmed, any letter case";
    view->setSearch(QStringLiteral("   "));
    EXPECT_EQ(view->unfiltered().size(), 2) << "spaces alone filter nothing";
    view->setSearch(QString());

    // Published order: a missing time falls back to the saving time; equal keys keep saving order.
    plain->setPublishedAt(QDateTime(QDate(2030, 1, 1), QTime()));
    auto older = addPost(QStringLiteral("older twin"));
    auto newer = addPost(QStringLiteral("newer twin"));
    older->setPublishedAt(QDateTime(QDate(2020, 1, 1), QTime()));
    newer->setPublishedAt(QDateTime(QDate(2020, 1, 1), QTime()));
    view->setSortOrder(SortOrder::published);
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"plain", "Boarded Cat", "newer twin", "older twin"}));
    TamselStore::defaults().setString(QStringLiteral("macSortOrder"), QStringLiteral("bogus"));
    EXPECT_EQ(view->sortOrder(), SortOrder::collected);
}

TEST_F(LibraryViewTest, PlatformChipsCountAndTheFilterCanAlwaysBeCleared)
{
    addPost(QStringLiteral("w1"), Platform::weibo);
    addPost(QStringLiteral("x1"), Platform::x);
    auto lastX = addPost(QStringLiteral("x2"), Platform::x);
    addPost(QStringLiteral("d1"), Platform::douyin);
    save();
    auto view = makeView();
    const auto counts = LibraryView::platformCounts(view->unfiltered());
    ASSERT_EQ(counts.size(), 3);
    EXPECT_EQ(counts[1].platform, Platform::douyin) << "ties keep the platforms' own order";
    ASSERT_EQ(view->header()->chips().size(), 4);
    QTest::mouseClick(view->header()->chips()[1], Qt::LeftButton);
    EXPECT_EQ(titles(view->shown()), QStringList({"x2", "x1"}));

    // The filtered platform loses its posts: header without cards, chips to clear it.
    context.remove(lastX);
    context.remove(view->shown().last());
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isEmptyStateShown());
    EXPECT_TRUE(view->shown().isEmpty());
    ASSERT_FALSE(view->header()->chips().isEmpty());
    QTest::mouseClick(view->header()->chips()[0], Qt::LeftButton);
    EXPECT_EQ(view->shown().size(), 2);
}

TEST_F(LibraryViewTest, AnAuthorPageCoversThePersonAndDropsAStaleAccountFilter)
{
    const AuthorAccount weibo(Platform::weibo, QStringLiteral("阿林"));
    const AuthorAccount x(Platform::x, QStringLiteral("lin"));
    addPost(QStringLiteral("w"), Platform::weibo, weibo.name());
    addPost(QStringLiteral("x"), Platform::x, x.name());
    addPost(QStringLiteral("private"), Platform::weibo, weibo.name())->setIsPrivate(true);
    addPost(QStringLiteral("archived"), Platform::x, x.name())->setIsArchived(true);
    save();
    ASSERT_TRUE(AuthorMerge::merge(x, weibo, context));

    auto view = makeView(SidebarItem::author(weibo));
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"x", "w"})) << "never private or archived posts";
    view->setAccountFilter(x);
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"x"}));

    // Split off elsewhere: the filter would hide everything, so it goes.
    AuthorMerge::split(x, context);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->accountFilter());
    EXPECT_EQ(titles(view->unfiltered()), QStringList({"w"}));
}

TEST_F(LibraryViewTest, TheToolbarHidesOnlyWithoutSearchAndComesBackOnANewSelection)
{
    for (int index = 0; index < 5; ++index)
        addPost(QStringLiteral("%1").arg(index));
    save();
    auto view = makeView();
    emit view->masonry()->toolbarHiddenRequested(true);
    EXPECT_FALSE(view->toolbarAction()->isVisible());
    view->setItem(SidebarItem::archived());
    EXPECT_TRUE(view->toolbarAction()->isVisible());
    view->setItem(SidebarItem::all());
    view->setSearch(QStringLiteral(" "));
    emit view->masonry()->toolbarHiddenRequested(true);
    EXPECT_FALSE(view->toolbarHidden()) << "a search of spaces keeps the toolbar";
}

TEST_F(LibraryViewTest, TheDisplayMenusHeadersArePaddedLikeItsEntries)
{
    auto view = makeView();
    QWidget *group = static_cast<QWidgetAction *>(view->toolbarAction())->defaultWidget();
    QMenu *menu = nullptr;
    for (const QToolButton *button : group->findChildren<QToolButton *>())
        if (button->text() == QStringLiteral("显示"))
            menu = button->menu();
    ASSERT_TRUE(menu);
    menu->popup(QPoint(100, 100));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    QList<int> heights;
    for (const char *text : {"排序", "按收藏时间", "卡片大小", "中"})
        for (QAction *action : menu->actions())
            if (action->text() == QString::fromUtf8(text))
                heights.append(menu->actionGeometry(action).height());
    ASSERT_EQ(heights.size(), 4);
    EXPECT_EQ(heights[0], heights[1]);
    EXPECT_EQ(heights[2], heights[3]);
    EXPECT_TRUE(saveScreenshot(*menu, QStringLiteral("library-display-menu")));
    menu->close();
}

TEST_F(LibraryViewTest, TheToolbarGroupFadesWithTheFoldingBarBeforeItLeaves)
{
    const SteppedMotions stepped;
    auto view = makeView();
    QWidget *group = static_cast<QWidgetAction *>(view->toolbarAction())->defaultWidget();
    const auto opacity = [group] {
        auto *fade = static_cast<QGraphicsOpacityEffect *>(group->graphicsEffect());
        return fade->isEnabled() ? fade->opacity() : 1.0;
    };
    emit view->masonry()->toolbarHiddenRequested(true);
    EXPECT_TRUE(view->toolbarHidden());
    EXPECT_TRUE(view->toolbarAction()->isVisible()) << "the group fades, it does not vanish";
    view->toolbarFade().setCurrentTime(view->toolbarFade().duration() / 2);
    EXPECT_GT(opacity(), 0.0);
    EXPECT_LT(opacity(), 1.0);
    view->toolbarFade().finish();
    EXPECT_FALSE(view->toolbarAction()->isVisible());

    // Back at once, faded out, to fade in as the bar returns.
    emit view->masonry()->toolbarHiddenRequested(false);
    EXPECT_TRUE(view->toolbarAction()->isVisible());
    EXPECT_EQ(opacity(), 0.0);
    // Hidden again before it moved: it still leaves.
    emit view->masonry()->toolbarHiddenRequested(true);
    EXPECT_FALSE(view->toolbarAction()->isVisible());
    emit view->masonry()->toolbarHiddenRequested(false);
    view->toolbarFade().finish();
    EXPECT_EQ(opacity(), 1.0);
}

TEST_F(LibraryViewTest, ACardsMenuClosingOverAnotherCardTakesTheLiftThere)
{
    for (const QString &title : {QStringLiteral("left"), QStringLiteral("right")})
        addCover(addPost(title), 300, 300);
    save();
    auto view = makeView();
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    Masonry &grid = *view->masonry();
    QWidget *cards = grid.viewport();
    const QPoint first = grid.cardRect(0).center().toPoint();
    const QPoint second = grid.cardRect(1).center().toPoint();
    QTest::mouseMove(cards, first);
    ASSERT_EQ(grid.tiltedCard(), 0);

    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, first, cards->mapToGlobal(first));
    QApplication::sendEvent(cards, &rightClick);
    QPointer<QWidget> menu = QApplication::activePopupWidget();
    ASSERT_TRUE(qobject_cast<PostMenu *>(menu));
    // The pointer goes to the other card while the menu holds it, and rests there.
    QTest::mouseMove(cards, second);
    menu->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.tiltedCard() == 1; })) << "the first card springs back";
}

TEST_F(LibraryViewTest, EmptyStatesAndTheStarredStrip)
{
    auto view = makeView();
    EXPECT_TRUE(view->isEmptyStateShown());

    auto post = addPost(QStringLiteral("有封面的帖子"), Platform::xiaohongshu, QStringLiteral("小林"));
    addCover(post, 300, 400);
    addPost(QStringLiteral("另一条"), Platform::bilibili, QStringLiteral("阿B"));
    save();
    AuthorMerge::setStarred(AuthorAccount::fromPost(*post), true, context);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isEmptyStateShown());
    StarredStrip *strip = view->header()->starredStrip();
    view->show();
    EXPECT_TRUE(strip->isVisible());
    QTest::qWait(100);
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("library-view")));
    view->setSearch(QStringLiteral(" "));
    EXPECT_FALSE(strip->isVisible()) << "any search text hides the strip";
}

} // namespace
