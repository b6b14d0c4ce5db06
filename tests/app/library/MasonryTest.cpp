#include "Masonry.h"

#include "ImportProgress.h"
#include "LibraryFixture.h"
#include "PostDrag.h"
#include "Screenshot.h"

#include <QMimeData>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

class MasonryTest : public LibraryFixture {
protected:
    QList<std::shared_ptr<Post>> manyPosts(int count)
    {
        QList<std::shared_ptr<Post>> posts;
        for (int index = 0; index < count; ++index) {
            auto post = addPost(QStringLiteral("第 %1 条").arg(index));
            if (index % 3)
                addCover(post, 300, 200 + 37 * (index % 11), QColor::fromHsv(index * 29 % 360, 90, 220));
            posts.append(post);
        }
        return posts;
    }

    // A grid on screen at that size showing the posts.
    std::unique_ptr<Masonry> shownGrid(const QList<std::shared_ptr<Post>> &posts, int width, int height)
    {
        auto grid = std::make_unique<Masonry>(nullptr, cache);
        grid->resize(width, height);
        grid->setPosts(posts);
        grid->show();
        return grid;
    }

    void scrollTo(Masonry &grid, int y)
    {
        grid.verticalScrollBar()->setValue(y);
        QCoreApplication::processEvents();
    }

    ImageCache cache;
};

TEST_F(MasonryTest, ColumnsAndCardHeightsFollowWidthAndCovers)
{
    EXPECT_EQ(Masonry::columnCount(746, 230, 14), 3);
    // The margins and the gaps take their room: three cards of 230 alone would fit in 745.
    EXPECT_EQ(Masonry::columnCount(745, 230, 14), 2);
    EXPECT_EQ(Masonry::columnCount(990, 230, 14), 4);
    EXPECT_EQ(Masonry::columnCount(990, 230, 40), 3) << "wider gaps, fewer columns";
    EXPECT_EQ(Masonry::columnCount(200, 230, 14), 2) << "never fewer than two columns";

    auto square = addPost(QStringLiteral("zero"));
    addCover(square, 0, 0);
    auto tall = addPost(QStringLiteral("tall"));
    addCover(tall, 1, 10000);
    auto wide = addPost(QStringLiteral("wide"));
    addCover(wide, 900, 300);
    auto text = addPost(QStringLiteral("text"));
    auto gone = addPost(QStringLiteral("gone"));
    context.remove(gone);

    CardMetrics metrics;
    metrics.caption = 62;
    metrics.textBlock = 114;
    // 2 columns of (502 - 28 - 14) / 2 = 230.
    const auto layout = Masonry::layout({square, tall, wide, text, gone}, 502, 2, 14, metrics);
    EXPECT_EQ(layout.frames[0], QRectF(0, 0, 230, 62 + 230));
    EXPECT_EQ(layout.frames[1], QRectF(244, 0, 230, 62 + 230 * 1.6));
    EXPECT_EQ(layout.frames[2], QRectF(0, 306, 230, 62 + 230 * 0.6));
    EXPECT_EQ(layout.frames[3].height(), 62 + 114);
    EXPECT_EQ(layout.frames[4].height(), 1) << "a deleted post keeps a 1-point row";
}

TEST_F(MasonryTest, BinarySearchFindsExactlyTheCardsCrossingABand)
{
    const auto posts = manyPosts(300);
    const auto layout = Masonry::layout(posts, 1000, 4, 14, CardMetrics::measure(QFont()));
    auto &random = *QRandomGenerator::global();
    for (int round = 0; round < 50; ++round) {
        const qreal top = random.bounded(layout.height);
        const qreal bottom = top + random.bounded(900.0);
        QList<int> found;
        for (int column = 0; column < 4; ++column)
            found.append(Masonry::cardsIn(layout, column, top, bottom));
        std::sort(found.begin(), found.end());
        QList<int> expected;
        for (int index = 0; index < layout.frames.size(); ++index) {
            if (layout.frames[index].bottom() >= top && layout.frames[index].top() <= bottom)
                expected.append(index);
        }
        ASSERT_EQ(found, expected) << "band " << top << " to " << bottom;
    }
}

TEST_F(MasonryTest, OnlyCardsNearTheViewAskForThumbnails)
{
    const auto posts = manyPosts(600);
    save();
    const auto shown = shownGrid(posts, 746, 600);
    Masonry &grid = *shown;
    const QList<int> first = grid.mounted();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_LT(first.size(), 60) << "a screen and two more, not 600 cards";
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.count() > 0; }, 10000));
    EXPECT_LE(cache.count(), first.size());
    scrollTo(grid, grid.verticalScrollBar()->maximum() / 2);
    EXPECT_FALSE(grid.mounted().contains(first.first()));
}

TEST_F(MasonryTest, AHiddenGridLaysOutWhenShownOrAskedNotBefore)
{
    const auto posts = manyPosts(60);
    const auto shown = shownGrid(posts, 746, 600);
    Masonry &grid = *shown;
    ASSERT_FALSE(grid.mounted().isEmpty());
    grid.hide();
    grid.setPosts(posts.mid(0, 2));
    EXPECT_EQ(grid.currentLayout().frames.size(), 2) << "asked while hidden";
    for (int index : grid.mounted())
        EXPECT_LT(index, 2);

    grid.setPosts(posts);
    grid.resize(1100, 600);
    grid.show();
    const auto expected = Masonry::layout(posts, grid.viewport()->width(), grid.columns(),
                                          Masonry::defaultSpacing, grid.metrics());
    EXPECT_EQ(grid.currentLayout().frames, expected.frames) << "laid out at the width it is shown at";
    EXPECT_EQ(grid.columns(), 4);
}

TEST_F(MasonryTest, KeyboardMovesAFocusRingOpensAndAsksForTheMenu)
{
    QList<std::shared_ptr<Post>> posts;
    for (int index = 0; index < 6; ++index) {
        posts.append(addPost(QStringLiteral("%1").arg(index)));
        addCover(posts.last(), 100, 100);
    }
    QWidget window;
    auto before = new QWidget(&window);
    before->setFocusPolicy(Qt::StrongFocus);
    Masonry grid(&window, cache);
    grid.setGeometry(0, 40, 746, 800);
    grid.setPosts(posts);
    window.resize(746, 840);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QSignalSpy opened(&grid, &Masonry::postActivated);
    QSignalSpy menus(&grid, &Masonry::menuRequested);

    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(grid.hasFocus());
    EXPECT_EQ(grid.focusedCard(), 0);
    // Equal squares: 0 1 2 in the first row, 3 4 5 under them.
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.focusedCard(), 1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.focusedCard(), 4);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().value<std::shared_ptr<Post>>(), posts[4]);
    QTest::keyClick(&grid, Qt::Key_Menu);
    EXPECT_EQ(menus.size(), 1);
}

TEST_F(MasonryTest, OnlyTheKeyboardRingsACardAndTheRingGoesWithARightClick)
{
    const auto shown = shownGrid(manyPosts(6), 746, 800);
    Masonry &grid = *shown;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    const auto click = [&](int card, Qt::MouseButton button) {
        QTest::mouseClick(grid.viewport(), button, {}, grid.cardRect(card).center().toPoint());
    };
    click(0, Qt::LeftButton);
    ASSERT_TRUE(grid.hasFocus());
    EXPECT_FALSE(grid.focusRingShown()) << "a click focuses the grid without a ring";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(grid.focusRingShown());
    click(2, Qt::RightButton);
    EXPECT_FALSE(grid.focusRingShown());
}

TEST_F(MasonryTest, TheHoverStaysWithItsPostWhenANewPostComesFirst)
{
    auto posts = manyPosts(2);
    const auto shown = shownGrid(posts, 746, 800);
    Masonry &grid = *shown;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTest::mouseMove(grid.viewport(), grid.cardRect(1).center().toPoint());
    ASSERT_EQ(grid.tiltedCard(), 1);
    // The hovered card moves past the end of the cards laid out before.
    posts.prepend(addPost(QStringLiteral("新的")));
    grid.setPosts(posts);
    EXPECT_EQ(grid.tiltedCard(), 2);
}

TEST_F(MasonryTest, ClicksOpenCardsButNotWhileScrollingAndDragsCarryThePost)
{
    const auto posts = manyPosts(40);
    const auto shown = shownGrid(posts, 502, 600);
    Masonry &grid = *shown;
    QSignalSpy opened(&grid, &Masonry::postActivated);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cardRect(0).center().toPoint());
    ASSERT_EQ(opened.size(), 1);
    scrollTo(grid, 10);
    ASSERT_TRUE(grid.isScrolling());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cardRect(1).center().toPoint());
    EXPECT_EQ(opened.size(), 1) << "cards take no clicks while the grid scrolls";

    const auto data = grid.dragData(2);
    const auto drag = PostDrag::fromMimeData(*data);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->id, posts[2]->id());
}

TEST_F(MasonryTest, ScreenshotOfTheGridWithProgressAndFailures)
{
    auto parsing = addPost(QStringLiteral("正在解析的帖子"));
    addCover(parsing, 600, 800, QColor("#C9A66B"));
    auto downloading = addPost(QString(2000, QChar(u'长')), Platform::xiaohongshu);
    addCover(downloading, 800, 600, QColor("#7BA17B"));
    addCover(downloading, 800, 600);
    auto failed = addPost(QStringLiteral("解析失败"), Platform::douyin);
    failed->setParseState(ParseState::failed);
    failed->setParseError(QStringLiteral("页面结构变了"));
    addCover(failed, 400, 400, QColor("#B07BAC"));
    auto note = addPost(QString(), Platform::local, QString());
    note->setContent(QStringLiteral("一段没有封面的笔记正文，\n第二行。"));
    note->setNote(QStringLiteral("笔记"));
    auto undecodable = addPost(QStringLiteral("坏图"));
    addCover(undecodable, 500, 500)->setImage(QByteArray("not a picture"));
    save();

    ImportProgress::shared().startParsing(parsing->id());
    const QUuid item = QUuid::createUuid();
    ImportProgress::shared().startDownloading(downloading->id(), {{item, false}});
    ImportProgress::shared().update(downloading->id(), item, 40, 100);

    const auto shown = shownGrid({parsing, downloading, failed, note, undecodable}, 746, 820);
    Masonry &grid = *shown;
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.count() >= 3; }, 10000));
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(grid, QStringLiteral("library-grid")));

    ImportProgress::shared().finish(parsing->id());
    ImportProgress::shared().finish(downloading->id());
}

} // namespace
