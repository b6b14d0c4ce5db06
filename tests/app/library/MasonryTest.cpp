#include "Masonry.h"

#include "Clock.h"
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
    EXPECT_EQ(Masonry::columnCount(502, 230, 14), 2);
    EXPECT_EQ(Masonry::columnCount(501, 230, 14), 2);
    EXPECT_EQ(Masonry::columnCount(746, 230, 14), 3);
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
    EXPECT_EQ(Masonry::layout({}, 502, 2, 14, metrics).height, 0);

    // Two columns of equal height: the next card goes left.
    const auto even = Masonry::layout({text, text, text}, 502, 2, 14, metrics);
    EXPECT_EQ(even.frames[2].x(), 0);
    EXPECT_EQ(even.height, 2 * 176 + 14);
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
    EXPECT_EQ(grid.columns(), 3);
    const QList<int> first = grid.mounted();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_LT(first.size(), 60) << "a screen and two more, not 600 cards";
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.count() > 0; }, 5000));
    EXPECT_LE(cache.count(), first.size());

    // A small scroll stays in the same quantised window.
    scrollTo(grid, 40);
    EXPECT_EQ(grid.mounted(), first);
    // Far down, the first cards are gone from the bands.
    scrollTo(grid, grid.verticalScrollBar()->maximum() / 2);
    EXPECT_FALSE(grid.mounted().contains(first.first()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.count() > first.size(); }, 5000));
}

TEST_F(MasonryTest, ANewCardSizeGlidesTheCardsToTheirNewColumns)
{
    const auto posts = manyPosts(12);
    const auto shown = shownGrid(posts, 746, 600);
    Masonry &grid = *shown;
    ASSERT_EQ(grid.columns(), 3);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QTest::qWait(20); // painted once: the cards have places the user saw
    const QRectF before = grid.cardRect(2);
    grid.setCardWidth(300);
    EXPECT_EQ(grid.columns(), 2);
    const QRectF target = grid.currentLayout().frames[2].translated(14, 14);
    EXPECT_EQ(grid.cardRect(2), before) << "the glide starts where the card was";
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.cardRect(2) == target; }, 2000));
    grid.resize(1000, 600);
    EXPECT_EQ(grid.columns(), 3);
}

TEST_F(MasonryTest, ScrollingHidesAndShowsTheToolbarNoFasterThanTheGap)
{
    QDateTime now(QDate(2026, 5, 1), QTime(10, 0));
    Clock::setSource([&] { return now; });
    const auto posts = manyPosts(200);
    const auto shown = shownGrid(posts, 502, 500);
    Masonry &grid = *shown;
    QSignalSpy requests(&grid, &Masonry::toolbarHiddenRequested);

    scrollTo(grid, 30);
    EXPECT_TRUE(requests.isEmpty()) << "near the top it already shows";
    scrollTo(grid, 200);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_TRUE(requests.last().first().toBool());
    now = now.addMSecs(200);
    scrollTo(grid, 100);
    EXPECT_EQ(requests.size(), 1) << "a change within 0.35 s of the last is dropped";
    now = now.addMSecs(400);
    scrollTo(grid, 98);
    EXPECT_EQ(requests.size(), 1) << "an upward step of 3 points or less changes nothing";
    scrollTo(grid, 90);
    ASSERT_EQ(requests.size(), 2);
    EXPECT_FALSE(requests.last().first().toBool());
    Clock::setSource({});
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
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.focusedCard(), 4) << "nothing below: the ring stays";
    QTest::keyClick(&grid, Qt::Key_Left);
    EXPECT_EQ(grid.focusedCard(), 3);
    QTest::keyClick(&grid, Qt::Key_Return);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().value<std::shared_ptr<Post>>(), posts[3]);
    QTest::keyClick(&grid, Qt::Key_Menu);
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus.first().first().value<std::shared_ptr<Post>>(), posts[3]);
    EXPECT_TRUE(saveScreenshot(grid, QStringLiteral("library-grid-focus")));
}

TEST_F(MasonryTest, ClicksOpenCardsButNotWhileScrollingAndDragsCarryThePost)
{
    const auto posts = manyPosts(40);
    const auto shown = shownGrid(posts, 502, 600);
    Masonry &grid = *shown;
    QSignalSpy opened(&grid, &Masonry::postActivated);
    const QPoint centre = grid.cardRect(0).center().toPoint();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first().first().value<std::shared_ptr<Post>>(), posts[0]);

    scrollTo(grid, 10);
    ASSERT_TRUE(grid.isScrolling());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cardRect(1).center().toPoint());
    EXPECT_EQ(opened.size(), 1) << "cards take no clicks while the grid scrolls";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !grid.isScrolling(); }, 2000));

    const auto data = grid.dragData(2);
    const auto drag = PostDrag::fromMimeData(*data);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->id, posts[2]->id());
    EXPECT_EQ(data->text(), posts[2]->sourceURL());
}

TEST_F(MasonryTest, ScreenshotsOfTheGridHoverTiltAndProgress)
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
    auto video = addPost(QStringLiteral("视频"), Platform::bilibili);
    addCover(video, 1600, 900, QColor("#6B8FC9"), MediaKind::video);
    auto undecodable = addPost(QStringLiteral("坏图"));
    addCover(undecodable, 500, 500)->setImage(QByteArray("not a picture"));
    save();

    ImportProgress::shared().startParsing(parsing->id());
    const QUuid item = QUuid::createUuid();
    ImportProgress::shared().startDownloading(downloading->id(), {{item, false}});
    ImportProgress::shared().update(downloading->id(), item, 40, 100);

    const auto shown = shownGrid({parsing, downloading, failed, note, video, undecodable}, 746, 820);
    Masonry &grid = *shown;
    EXPECT_TRUE(QTest::qWaitFor([&] { return cache.count() >= 4; }, 5000));
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(grid, QStringLiteral("library-grid")));

    const QRectF card = grid.cardRect(0);
    QTest::mouseMove(grid.viewport(), (card.topLeft() + QPointF(20, 20)).toPoint());
    EXPECT_TRUE(saveScreenshot(grid, QStringLiteral("library-grid-hover-tilt")));

    ImportProgress::shared().finish(parsing->id());
    ImportProgress::shared().finish(downloading->id());
}

} // namespace
