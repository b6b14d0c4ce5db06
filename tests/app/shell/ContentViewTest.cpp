#include "ContentView.h"

#include "../model/ModelFixture.h"
#include "AppLanguage.h"
#include "AuthorMerge.h"
#include "Board.h"
#include "LibraryHeader.h"
#include "LibraryView.h"
#include "Masonry.h"
#include "Media.h"
#include "MediaFocusRing.h"
#include "NavigationStack.h"
#include "Screenshot.h"
#include "Sidebar.h"
#include "SidebarRow.h"
#include "StarredStrip.h"
#include "Tag.h"
#include "Theme.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class ContentViewTest : public ModelTest {
protected:
    ContentViewTest() { makeModel(); }

    std::shared_ptr<Post> addTitled(const QString &title, bool archived = false)
    {
        auto post = addPost(QStringLiteral("https://example.com/%1").arg(title));
        post->setTitle(title);
        post->setIsArchived(archived);
        context().save();
        return post;
    }

    static bool showActive(ContentView &content)
    {
        content.resize(1100, 700);
        content.show();
        content.activateWindow();
        return QTest::qWaitForWindowActive(&content);
    }

    static QLineEdit *searchField(const LibraryView &library)
    {
        return static_cast<QWidgetAction *>(library.toolbarAction())
            ->defaultWidget()
            ->findChild<QLineEdit *>();
    }
    static SidebarRow *row(Sidebar &sidebar, const QString &title)
    {
        for (SidebarRow *row : sidebar.rows())
            if (row->title() == title)
                return row;
        return nullptr;
    }

    // How many pixels of the focused widget change when it loses the focus
    // and Tab brings it back (a click into a widget shows no ring).
    static qsizetype focusMarkSize(QWidget &focused)
    {
        focused.clearFocus();
        const QImage without = focused.grab().toImage();
        focused.setFocus(Qt::TabFocusReason);
        const QImage with = focused.grab().toImage();
        qsizetype changed = 0;
        for (int y = 0; y < with.height(); ++y)
            for (int x = 0; x < with.width(); ++x)
                changed += with.pixel(x, y) != without.pixel(x, y);
        return changed;
    }
    // A text box shows the focus by its caret (kept lit by the test); anything else by a ring.
    static qsizetype leastFocusMark(QWidget &focused)
    {
        if (const auto *text = qobject_cast<QPlainTextEdit *>(&focused))
            return text->cursorRect().height() / 2;
        return 40;
    }
    // The classes of the widgets Tab stops at, from the focused one until Tab
    // comes round to it again, told from the sidebar on; each must show that
    // it holds the focus.
    static std::string tabStops()
    {
        // The event loop lays out a new page's toolbar before the next key comes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QWidget *first = QApplication::focusWidget();
        QStringList stops;
        while (stops.size() < 30) {
            QWidget *focused = QApplication::focusWidget();
            stops << QString::fromLatin1(focused->metaObject()->className());
            EXPECT_GE(focusMarkSize(*focused), leastFocusMark(*focused))
                << "no sign of the focus: " << stops.join(" → ").toStdString();
            QTest::keyClick(focused, Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
        }
        const qsizetype sidebar = std::max(stops.indexOf(QStringLiteral("Sidebar")), qsizetype(0));
        return (stops.mid(sidebar) + stops.first(sidebar)).join(" → ").toStdString();
    }
};

TEST_F(ContentViewTest, TheSearchTextStaysWhenAnotherSidebarEntryIsClicked)
{
    addTitled(QStringLiteral("Cat in the archive"), true);
    addTitled(QStringLiteral("Cat at home"));
    addTitled(QStringLiteral("Dog at home"));
    ContentView content(*model);
    ASSERT_TRUE(showActive(content));

    auto *library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    QTest::mouseClick(searchField(*library), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
    ASSERT_EQ(library->shown().size(), 1);

    auto *sidebar = content.findChild<Sidebar *>();
    QTest::mouseClick(row(*sidebar, QStringLiteral("已归档")), Qt::LeftButton);
    EXPECT_EQ(content.selection(), SidebarItem::archived());
    library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    EXPECT_EQ(library->item(), SidebarItem::archived());
    EXPECT_EQ(library->search(), QStringLiteral("cat"));
    ASSERT_EQ(library->shown().size(), 1);
    EXPECT_EQ(library->shown().first()->title(), QStringLiteral("Cat in the archive"));
    QLineEdit *field = searchField(*library);
    EXPECT_EQ(field->text(), QStringLiteral("cat")) << "the field shows it too";
    EXPECT_TRUE(QTest::qWaitFor([field] { return field->isVisible(); })) << "in the toolbar";
    EXPECT_TRUE(saveScreenshot(content, QStringLiteral("content-search-kept")));

    // Organize takes the library's place, and a library comes back after it.
    QTest::mouseClick(row(*sidebar, QStringLiteral("整理")), Qt::LeftButton);
    EXPECT_FALSE(qobject_cast<LibraryView *>(content.stack().root()));
    QTest::mouseClick(row(*sidebar, QStringLiteral("收藏")), Qt::LeftButton);
    library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    EXPECT_EQ(library->item(), SidebarItem::all());
}

TEST_F(ContentViewTest, TabGoesThroughTheLibraryAndOrganizeAsShownAndEveryStopShowsTheFocus)
{
    for (const Platform platform : {Platform::weibo, Platform::x}) {
        auto post = addPost(QStringLiteral("https://example.com/") + platform.displayName());
        post->setAuthorName(QStringLiteral("林"));
        post->setPlatform(platform);
    }
    context().insert(std::make_shared<Board>(QStringLiteral("旅行"), QString()));
    context().insert(std::make_shared<Tag>(QStringLiteral("咖啡"), QStringLiteral("#2980B9")));
    context().save();
    AuthorMerge::setStarred(AuthorAccount(Platform::weibo, QStringLiteral("林")), true, context());
    ContentView content(*model);
    ASSERT_TRUE(showActive(content));
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    auto *sidebar = content.findChild<Sidebar *>();
    const auto clickRowAndWalk = [&](const QString &title) {
        QTest::mouseClick(row(*sidebar, title), Qt::LeftButton);
        return tabStops();
    };
    // From the sidebar, which has the focus after the walk, past the sync link and the search.
    const auto chooseSegmentAndWalk = [&](Qt::Key key, const QString &shot) {
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_STREQ(QApplication::focusWidget()->metaObject()->className(), "SegmentBar");
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(saveScreenshot(content, shot));
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        return tabStops();
    };
    const auto clickBack = [&] {
        auto *back = content.stack().findChild<QToolButton *>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mouseClick(back, Qt::LeftButton);
        return tabStops();
    };
    using testing::StartsWith;
    // The window's bar reads before the page under it: the back button, then
    // the page's toolbar from left to right.
    const std::string sidebarStops = "Sidebar → QPushButton → ";
    const std::string back = "QToolButton → ";
    const std::string libraryBar = "QToolButton → QToolButton → QLineEdit → "; // add, display, search
    // Open, archive, more, delete: a post without media has nothing to save.
    const std::string postBar = "QToolButton → QToolButton → QToolButton → QToolButton → ";
    const std::string libraryStops =
        sidebarStops + libraryBar + "PersonEntry → FilterChip → FilterChip → FilterChip → Masonry";

    for (const auto appearance : {Theme::Appearance::light, Theme::Appearance::dark}) {
        QApplication::setPalette(Theme::palette(appearance));
        EXPECT_EQ(clickRowAndWalk(QStringLiteral("收藏")), libraryStops);
        const QString shot = QStringLiteral("content-tab-%1-").arg(int(appearance));
        for (int step = 0; step < 2; ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(saveScreenshot(content, shot + QStringLiteral("add")));
        auto *library = qobject_cast<LibraryView *>(content.stack().root());
        QTest::mouseClick(library->header()->starredStrip()->cell(0), Qt::LeftButton);
        // The click leaves the focus on the posts, which mark a card only once the keyboard moves.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(tabStops(),
                  sidebarStops + back + libraryBar + "StarAuthorButton → QToolButton → QToolButton → Masonry")
            << "the person's page: back, its bar, star, accounts, merge, posts";
        EXPECT_EQ(clickBack(), libraryStops) << "back in the library";
        Masonry &posts = *library->masonry();
        QTest::mouseClick(posts.viewport(), Qt::LeftButton, {}, posts.cardRect(0).center().toPoint());
        ASSERT_EQ(content.stack().depth(), 1);
        // Without media the screen takes no Tab: the walk starts at the next stop.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(tabStops(), sidebarStops + back + postBar +
                                  "StarAuthorButton → QToolButton → QToolButton → QPlainTextEdit")
            << "the post screen: back, its bar, then the information";
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_TRUE(saveScreenshot(content, shot + QStringLiteral("delete")));
        EXPECT_EQ(clickBack(), libraryStops) << "back in the library from the post";
        EXPECT_EQ(clickRowAndWalk(QStringLiteral("整理")),
                  sidebarStops + "QLineEdit → SegmentBar → BoardCard → NewBoardTile");
        EXPECT_THAT(chooseSegmentAndWalk(Qt::Key_Right, shot + QStringLiteral("tags")),
                    StartsWith(sidebarStops + "QLineEdit → SegmentBar → TagTile → QPushButton"));
        EXPECT_THAT(
            chooseSegmentAndWalk(Qt::Key_Right, shot + QStringLiteral("authors")),
            StartsWith(sidebarStops +
                       "QLineEdit → SegmentBar → FilterChip → FilterChip → FilterChip → PersonEntry"));
        chooseSegmentAndWalk(Qt::Key_Left, shot + QStringLiteral("back-to-tags"));
        EXPECT_THAT(chooseSegmentAndWalk(Qt::Key_Left, shot + QStringLiteral("back-to-boards")),
                    StartsWith(sidebarStops + "QLineEdit → SegmentBar → BoardCard"));
    }
    QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    QApplication::setCursorFlashTime(flashTime);
}

TEST_F(ContentViewTest, TheDeleteQuestionOpensWideEnoughForItsFramesTitle)
{
    auto board = std::make_shared<Board>(QStringLiteral("周末 & Weekend trips"), QString());
    context().insert(board);
    context().save();
    ContentView content(*model);
    content.resize(1100, 700);
    content.show();
    for (const AppLanguage::Value language : {AppLanguage::zh, AppLanguage::en}) {
        AppLanguage(language).load(*qApp);
        model->setDeleting(SidebarItem::board(board));
        QMessageBox *question = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            question = content.findChild<QMessageBox *>();
            return question && question->isVisible();
        }));
        EXPECT_EQ(question->windowTitle(), question->text());
        EXPECT_TRUE(saveScreenshot(*question, QStringLiteral("delete-question-%1").arg(int(language))));
        // The frame's title with the application's name, beside three
        // buttons of at least 24 points.
        QFont bold = question->font();
        bold.setBold(true);
        const QString frameTitle =
            question->windowTitle() + QStringLiteral(" \u2014 ") + QGuiApplication::applicationDisplayName();
        EXPECT_GE(question->width(), QFontMetrics(bold).horizontalAdvance(frameTitle) + 3 * 24)
            << qPrintable(frameTitle);
        question->reject();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !model->deleting(); }));
    }
    AppLanguage(AppLanguage::zh).load(*qApp);
}

// Pages that close or open under a click hand the focus on with Tab as
// Qt's reason, and a Tab pressed earlier stays marked on the window: no
// ring may follow either.
TEST_F(ContentViewTest, PagesLeftOrOpenedWithClicksRingNothing)
{
    auto withPicture = addTitled(QStringLiteral("cat"));
    auto picture = std::make_shared<Media>(MediaKind::image, 0);
    picture->setWidth(300);
    picture->setHeight(200);
    withPicture->setMedia({picture});
    auto deleted = addTitled(QStringLiteral("dog"));
    for (const auto &post : {withPicture, deleted}) {
        post->setAuthorName(QStringLiteral("林"));
        post->setPlatform(Platform::weibo);
    }
    context().save();
    AuthorMerge::setStarred(AuthorAccount(Platform::weibo, QStringLiteral("林")), true, context());
    ContentView content(*model);
    ASSERT_TRUE(showActive(content));
    auto *sidebar = content.findChild<Sidebar *>();
    auto *library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    const auto ringed = [&] {
        QStringList ringed;
        for (const SidebarRow *row : sidebar->rows())
            if (row->isCurrent())
                ringed << row->title();
        for (const MediaFocusRing *ring : content.findChildren<MediaFocusRing *>())
            if (ring->isVisible())
                ringed << QStringLiteral("the picture");
        return ringed;
    };
    const auto clickPost = [&](const std::shared_ptr<Post> &post) {
        Masonry &posts = *library->masonry();
        const QPoint card = posts.cardRect(int(library->shown().indexOf(post))).center().toPoint();
        QTest::mouseClick(posts.viewport(), Qt::LeftButton, {}, card);
    };

    QTest::mouseClick(library->header()->starredStrip()->cell(0), Qt::LeftButton);
    ASSERT_EQ(content.stack().depth(), 1);
    QTest::mouseClick(content.stack().findChild<QToolButton *>(QString(), Qt::FindDirectChildrenOnly),
                      Qt::LeftButton);
    ASSERT_EQ(content.stack().depth(), 0);
    EXPECT_EQ(ringed(), QStringList()) << "back from the person's page";

    clickPost(deleted);
    ASSERT_EQ(content.stack().depth(), 1);
    QTest::mouseClick(content.findChild<QToolButton *>(QStringLiteral("Delete")), Qt::LeftButton);
    ASSERT_EQ(content.stack().depth(), 0);
    EXPECT_EQ(ringed(), QStringList()) << "the post deleted from its screen";

    for (int step = 0; step < 10 && QApplication::focusWidget() != searchField(*library); ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), searchField(*library));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
    ASSERT_EQ(library->shown(), QList<std::shared_ptr<Post>>{withPicture});
    clickPost(withPicture);
    ASSERT_EQ(content.stack().depth(), 1);
    EXPECT_EQ(ringed(), QStringList()) << "a post opened with a click after a search typed in";
    EXPECT_TRUE(saveScreenshot(content, QStringLiteral("content-post-clicked-after-search")));
}

} // namespace
