#include "HorizontalStrip.h"

#include "AuthorMerge.h"
#include "AuthorsPage.h"
#include "FilterChip.h"
#include "LibraryFixture.h"
#include "LibraryView.h"
#include "Screenshot.h"
#include "StarredStrip.h"
#include "UndoableDelete.h"

#include <QScrollArea>
#include <QTest>

namespace {

// The rows of chips and persons that scroll sideways, changed while they are
// on screen: by the store, as a sync or another view changes it.
class HorizontalStripTest : public LibraryFixture {
protected:
    // Every item stands on screen at its full height, cut off by nothing.
    template <typename Item> static bool wholeOnScreen(const QList<Item *> &items, qsizetype count)
    {
        if (items.size() != count)
            return false;
        return std::all_of(items.cbegin(), items.cend(), [](QWidget *item) {
            return item->isVisible() && item->height() >= item->sizeHint().height() &&
                   item->visibleRegion().boundingRect() == item->rect();
        });
    }

    static QList<QWidget *> cells(StarredStrip &strip)
    {
        QList<QWidget *> result;
        for (int index = 0; index < strip.accounts().size(); ++index)
            result.append(strip.cell(index));
        return result;
    }

    UndoableDelete pendingDelete;
};

TEST_F(HorizontalStripTest, TheStarredRowFollowsEveryStarWhileTheLibraryIsShown)
{
    const AuthorAccount lin(Platform::xiaohongshu, QStringLiteral("小林"));
    const AuthorAccount bee(Platform::bilibili, QStringLiteral("阿B"));
    addPost(QStringLiteral("一"), lin.platform(), lin.name());
    addPost(QStringLiteral("二"), bee.platform(), bee.name());
    save();
    LibraryView view(context, pendingDelete, SidebarItem::all());
    view.resize(746, 600);
    view.show();
    StarredStrip *strip = view.header()->starredStrip();
    EXPECT_FALSE(strip->isVisible()) << "no one starred, no heading";

    AuthorMerge::setStarred(lin, true, context);
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(cells(*strip), 1); })) << "the first star";
    AuthorMerge::setStarred(bee, true, context);
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(cells(*strip), 2); })) << "the earlier one stays";
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("library-starred-while-shown")));
    AuthorMerge::setStarred(lin, false, context);
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(cells(*strip), 1); })) << "one star taken away";

    AuthorMerge::setStarred(bee, false, context);
    EXPECT_TRUE(QTest::qWaitFor([&] { return strip->accounts().isEmpty(); }));
    EXPECT_FALSE(strip->isVisible()) << "the last star gone, the strip goes with it";
}

TEST_F(HorizontalStripTest, ChipRowsTakeInAPlatformArrivingWhileShown)
{
    addPost(QStringLiteral("w"), Platform::weibo, QStringLiteral("林"));
    addPost(QStringLiteral("x"), Platform::x, QStringLiteral("Lin"));
    save();
    LibraryView library(context, pendingDelete, SidebarItem::all());
    library.resize(746, 600);
    library.show();
    AuthorsPage authors(context, pendingDelete);
    QScrollArea organize;
    organize.setWidgetResizable(true);
    organize.setWidget(&authors);
    organize.resize(760, 560);
    organize.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(library.header()->chips(), 3); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(authors.chips(), 3); }));

    addPost(QStringLiteral("d"), Platform::douyin, QStringLiteral("抖"));
    save();
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(library.header()->chips(), 4); }))
        << "the library's platform chips";
    EXPECT_TRUE(QTest::qWaitFor([&] { return wholeOnScreen(authors.chips(), 4); }))
        << "the authors segment's platform chips";
    organize.takeWidget();
}

} // namespace
