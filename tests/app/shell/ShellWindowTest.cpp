#include "../model/ModelFixture.h"
#include "AppLanguage.h"
#include "Board.h"
#include "OrganizeView.h"
#include "PlayerControls.h"
#include "ContentView.h"
#include "KepselMacApp.h"
#include "LibraryView.h"
#include "Masonry.h"
#include "Motion.h"
#include "SteppedMotions.h"
#include "MainWindow.h"
#include "MenuBarController.h"
#include "NavigationStack.h"
#include "Pasteboard.h"
#include "PrivateLockView.h"
#include "Screenshot.h"
#include "Sidebar.h"
#include "SidebarRow.h"
#include "Theme.h"
#include "Toast.h"
#include "UndoBar.h"
#include "WrappedLabel.h"
#include "AddLinkSheet.h"
#include "SettingsKey.h"
#include "UndoableDelete.h"
#include "ElidedLabel.h"
#include "PostDetailView.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QToolButton>
#include <QWidgetAction>
#include <QVBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ShellWindowTest : public ModelTest {
protected:
    ShellWindowTest()
    {
        makeModel();
        menuBar = std::make_unique<MenuBarController>(*model);
        app = std::make_unique<KepselMacApp>(*model, *menuBar);
        model->setPasswordPrompt([](const QString &) { return QStringLiteral("secret"); });
    }
    ~ShellWindowTest() override
    {
        app.reset();
        QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    }

    MainWindow &window()
    {
        app->showMainWindow();
        return *app->mainWindow();
    }
    ContentView &content() { return window().content(); }
    QWidget &detail() { return *content().findChild<QSplitter *>()->widget(1); }
    qsizetype postCount() { return context().fetch<Post>().size(); }

    void drop(const QList<QUrl> &urls, Qt::DropAction expected)
    {
        QMimeData data;
        data.setUrls(urls);
        // A drop reaches only the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&detail(), &enter);
        QDropEvent event(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&detail(), &event);
        EXPECT_EQ(event.isAccepted(), expected == Qt::CopyAction);
    }

    template <typename Dialog> Dialog *openDialog()
    {
        Dialog *found = nullptr;
        settle([&] {
            for (Dialog *dialog : content().findChildren<Dialog *>())
                if (dialog->isVisible())
                    found = dialog;
            return found != nullptr;
        });
        return found;
    }

    // As the views do: an empty field, then the alert.
    void name(const Naming &naming, const QString &text)
    {
        model->setNamingText(QString());
        model->setNaming(naming);
        auto *alert = openDialog<QDialog>();
        ASSERT_TRUE(alert);
        alert->findChild<QLineEdit *>()->insert(text);
        alert->accept();
    }

    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<KepselMacApp> app;
};

TEST_F(ShellWindowTest, TrayClicksSaveReportDuplicatesAndOpenTheMenuWithoutALink)
{
    menuBar->install();
    QSystemTrayIcon *item = menuBar->item();
    ASSERT_TRUE(item);
    Pasteboard::general().setString(QStringLiteral("看看 https://127.0.0.1:9/tray/1"));
    emit item->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(postCount(), 1);

    emit item->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(postCount(), 1);
    settle([&] { return ImportProgress::shared().phases().isEmpty(); });

    Pasteboard::general().setString(QStringLiteral("没有链接"));
    emit item->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(settle([&] { return menuBar->menu().isVisible(); }));
    menuBar->menu().close();
}

TEST_F(ShellWindowTest, LockingPopsAnOpenPrivatePost)
{
    auto post = addPost(QStringLiteral("https://127.0.0.1:9/private"));
    content().setSelection(SidebarItem::privateSpace());
    auto *lock = qobject_cast<PrivateLockView *>(content().stack().root());
    ASSERT_TRUE(lock);
    EXPECT_TRUE(saveScreenshot(window(), QStringLiteral("window-lock-screen")));
    emit lock->unlockRequested();
    ASSERT_TRUE(settle([&] { return model->privateUnlocked(); }));
    content().push(post);
    EXPECT_EQ(content().stack().depth(), 1);

    model->applicationStateChanged(Qt::ApplicationActive);
    model->applicationStateChanged(Qt::ApplicationInactive);
    ASSERT_TRUE(settle([&] { return !model->privateUnlocked(); }));
    EXPECT_EQ(content().stack().depth(), 0);
    EXPECT_TRUE(qobject_cast<PrivateLockView *>(content().stack().root()));
}

TEST_F(ShellWindowTest, ReturnUnlocksAfterTheSidebarChoseThePrivateSpace)
{
    window().resize(1000, 640);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    SidebarRow *privateRow = nullptr;
    for (SidebarRow *row : content().findChild<Sidebar *>()->rows())
        if (row->title() == SidebarItem::privateSpace().title())
            privateRow = row;
    ASSERT_TRUE(privateRow);
    QTest::mouseClick(privateRow, Qt::LeftButton);
    ASSERT_TRUE(qobject_cast<PrivateLockView *>(content().stack().root()));
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(settle([&] { return model->privateUnlocked(); }));
}

TEST_F(ShellWindowTest, ReturnOnAnotherSidebarRowLeavesTheLockScreen)
{
    window().resize(1000, 640);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    auto *sidebar = content().findChild<Sidebar *>();
    QTest::mouseClick(sidebar->rows()[3], Qt::LeftButton);
    ASSERT_EQ(content().selection(), SidebarItem::privateSpace());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(content().selection(), SidebarItem::archived());
    EXPECT_FALSE(qobject_cast<PrivateLockView *>(content().stack().root()));
    EXPECT_FALSE(model->privateUnlocked()) << "no password was asked for";
}

TEST_F(ShellWindowTest, DroppedWebLinksAreSavedAndOthersRefusedSilently)
{
    drop({QUrl(QStringLiteral("file:///etc/passwd")), QUrl(QStringLiteral("ftp://127.0.0.1/a")),
          QUrl(QStringLiteral("javascript:alert(1)"))},
         Qt::IgnoreAction);
    EXPECT_EQ(postCount(), 0);
    EXPECT_FALSE(model->toast());

    drop({QUrl(QStringLiteral("https://127.0.0.1:9/drop/1")),
          QUrl(QStringLiteral("HTTP://127.0.0.1:9/drop/2"))},
         Qt::CopyAction);
    EXPECT_EQ(postCount(), 2);
}

TEST_F(ShellWindowTest, NewBoardsPushOverOrganizeAndAreSelectedFromTheSidebar)
{
    content().setSelection(SidebarItem::all());
    name(Naming::newBoard(), QStringLiteral("美食"));
    EXPECT_EQ(content().selection().kind(), SidebarItem::Kind::board);
    EXPECT_EQ(content().selection().title(), QStringLiteral("美食"));
}

TEST_F(ShellWindowTest, ABoardMadeWithTheSidebarsPlusIsTheOnlyRowThatLooksChosen)
{
    window().resize(1000, 640);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    auto *sidebar = content().findChild<Sidebar *>();
    QTest::mouseClick(sidebar->rows()[0], Qt::LeftButton);
    QTest::mouseClick(sidebar->findChild<QToolButton *>(QStringLiteral("newBoard")), Qt::LeftButton);
    auto *alert = openDialog<QDialog>();
    ASSERT_TRUE(alert);
    alert->findChild<QLineEdit *>()->insert(QStringLiteral("美食"));
    alert->accept();
    ASSERT_TRUE(settle([&] { return sidebar->rows().size() == 5; }));
    ASSERT_EQ(QApplication::focusWidget(), sidebar);
    QStringList looksChosen;
    for (const SidebarRow *row : sidebar->rows())
        if (row->isSelected() || row->isCurrent())
            looksChosen.append(row->title());
    EXPECT_EQ(looksChosen, QStringList{QStringLiteral("美食")});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(sidebar->currentRow(), 3) << "the keyboard goes on from the new board";
}

TEST_F(ShellWindowTest, DeletingTheSelectedBoardSelectsAllPostsFirst)
{
    auto board = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    context().insert(board);
    context().save();
    content().setSelection(SidebarItem::board(board));
    model->setDeleting(SidebarItem::board(board));
    auto *confirm = openDialog<QMessageBox>();
    ASSERT_TRUE(confirm);
    for (QAbstractButton *button : confirm->buttons())
        if (button->text() == QStringLiteral("删除"))
            button->click();
    EXPECT_EQ(content().selection(), SidebarItem::all());
    EXPECT_TRUE(context().fetch<Board>().isEmpty());
}

TEST_F(ShellWindowTest, ClosingTheWindowWhileItsStartUpSyncWaitsAndOpeningItAgain)
{
    chooseFolder();
    window();
    window().close();
    EXPECT_TRUE(settle([&] { return !app->mainWindow(); }));
    EXPECT_TRUE(settle([&] { return !model->syncing(); }));
    model->openMainWindow();
    ASSERT_TRUE(app->mainWindow());
    EXPECT_TRUE(app->mainWindow()->syncNowAction()->isEnabled());
}

TEST_F(ShellWindowTest, TheAddCommandOpensOneSheetThatEscapeCloses)
{
    Pasteboard::general().setString(QStringLiteral("https://127.0.0.1:9/sheet"));
    window();
    model->setShowAdd(true);
    model->setShowAdd(true);
    auto *sheet = openDialog<AddLinkSheet>();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(content().findChildren<AddLinkSheet *>().size(), 1);
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(settle([&] { return !model->showAdd(); }));
    EXPECT_EQ(postCount(), 0);
}

TEST_F(ShellWindowTest, DarkRepaintsTheWindowAndToastAndUndoBarStack)
{
    TamselStore::defaults().setString(SettingsKey::appearance, QStringLiteral("dark"));
    window().resize(1000, 640);
    QTest::qWait(0);
    EXPECT_EQ(window().grab().toImage().pixelColor(500, 300), QColor(QStringLiteral("#262624")));

    auto post = addPost(QStringLiteral("https://127.0.0.1:9/deleted"));
    model->pendingDelete().start({post}, 60);
    model->show(QStringLiteral("已归档"));
    QTest::qWait(0);
    auto *bar = content().findChild<UndoBar *>();
    auto *toast = content().findChild<Toast *>();
    ASSERT_TRUE(bar->isVisible() && toast->isVisible());
    EXPECT_LT(bar->geometry().center().y(), toast->geometry().top());
    emit bar->undo();
    EXPECT_TRUE(model->pendingDelete().posts().isEmpty());
    EXPECT_FALSE(bar->isVisible());
}

// How far above the window's bottom the painted capsules end, lowest first,
// along the column at x: in dark a capsule is lighter than the window, and
// its shadow darker.
QList<int> capsuleHeightsAboveBottom(const QImage &window, int x)
{
    const int background = QColor(QStringLiteral("#262624")).lightness();
    QList<int> heights;
    bool inCapsule = false;
    for (int y = window.height() - 1; y >= 0 && heights.size() < 2; --y) {
        const bool light = window.pixelColor(x, y).lightness() > background + 6;
        if (light && !inCapsule)
            heights.append(window.height() - 1 - y);
        inCapsule = light;
    }
    return heights;
}

TEST_F(ShellWindowTest, ToastAndUndoBarCapsulesStandTheirDistanceAboveTheBottom)
{
    TamselStore::defaults().setString(SettingsKey::appearance, QStringLiteral("dark"));
    window().resize(1000, 640);
    const auto heights = [&](const QString &screenshot) {
        QTest::qWait(0);
        EXPECT_TRUE(saveScreenshot(window(), screenshot));
        return capsuleHeightsAboveBottom(content().grab().toImage(), content().width() / 2);
    };

    model->show(QStringLiteral("已收藏，正在解析…"));
    EXPECT_EQ(heights(QStringLiteral("window-toast")).value(0), 24);

    auto post = addPost(QStringLiteral("https://127.0.0.1:9/deleted"));
    model->pendingDelete().start({post}, 60);
    EXPECT_EQ(heights(QStringLiteral("window-toast-and-undo-bar")), (QList<int>{24, 76}));

    model->setToast(std::nullopt);
    EXPECT_EQ(heights(QStringLiteral("window-undo-bar")).value(0), 24);
}

// A message longer than the window wraps, a link (which has no spaces) too,
// and the capsule keeps its distance from both sides.
TEST_F(ShellWindowTest, LongToastsWrapWithinTheWindowsSides)
{
    window().resize(900, 640);
    // Wider than the window between any two places a line may break.
    const QString link = QStringLiteral("https://www.xiaohongshu.com/explore/") +
                         QStringLiteral("64f1a2b3c4d5e6f7a8b9c0d1ABCDEFGHIJKLMNOPQRSTUVWXYZ").repeated(6);
    const QList<QString> messages{
        QStringLiteral(
            "Sync failed: the backup file could not be written to the folder you chose, so "
            "nothing was synced with your phone this time. Please check the folder and try again."),
        QStringLiteral("同步失败：") + link,
    };
    for (const QString &message : messages) {
        model->show(message);
        QTest::qWait(0);
        auto *toast = content().findChild<Toast *>();
        const QRect capsule = toast->geometry().marginsRemoved(FloatingCapsule::shadowMargins());
        EXPECT_GE(capsule.left(), 24) << qPrintable(message);
        EXPECT_LE(capsule.right(), content().width() - 1 - 24) << qPrintable(message);

        auto *label = toast->findChild<WrappedLabel *>();
        const QFontMetrics metrics = label->fontMetrics();
        const int lines = (label->height() + metrics.leading()) / metrics.lineSpacing();
        EXPECT_GE(lines, 2) << qPrintable(message);
        EXPECT_GE(lines * label->width(), label->sizeHint().width()) << qPrintable(message) << " cut";
    }
    EXPECT_TRUE(saveScreenshot(window(), QStringLiteral("window-long-toast")));
}

TEST_F(ShellWindowTest, TheNavigationBarNamesThePageOnTop)
{
    auto post = addPost(QStringLiteral("https://127.0.0.1:9/titled"));
    post->setAuthorName(QStringLiteral("林"));
    addPost(QStringLiteral("https://127.0.0.1:9/anonymous"));
    NavigationStack &stack = content().stack();
    window().resize(1000, 640);
    Pasteboard::general().setString(QStringLiteral("https://127.0.0.1:9/offered"));
    auto *library = qobject_cast<LibraryView *>(stack.root());
    ASSERT_TRUE(library);
    QWidget *bar = static_cast<QWidgetAction *>(library->toolbarAction())->defaultWidget();
    const auto offered = [bar] {
        for (const QToolButton *button : bar->findChildren<QToolButton *>())
            if (button->text() == QStringLiteral("收藏剪贴板里的链接") && button->isVisible())
                return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(offered, 10000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_TRUE(saveScreenshot(window(), QStringLiteral("window-library")));
    // Beside the clipboard's offer, the search field still shows whole.
    auto *search = bar->findChild<QLineEdit *>();
    EXPECT_GE(bar->width(), bar->minimumSizeHint().width());
    EXPECT_LE(search->mapTo(&window(), QPoint(search->width(), 0)).x(), window().width());
    EXPECT_EQ(stack.title(), QStringLiteral("全部收藏"));
    EXPECT_EQ(stack.subtitle(), QStringLiteral("2 条"));

    auto board = std::make_shared<Board>(QStringLiteral("旅行"), QString());
    context().insert(board);
    context().save();
    content().setSelection(SidebarItem::organize());
    EXPECT_EQ(stack.title(), QStringLiteral("整理"));
    EXPECT_EQ(stack.subtitle(), QString());
    // A board opened from the organize page is named too.
    emit qobject_cast<OrganizeView *>(stack.root())->itemActivated(SidebarItem::board(board));
    EXPECT_EQ(stack.title(), QStringLiteral("旅行"));
    EXPECT_EQ(stack.subtitle(), QStringLiteral("0 条"));

    content().push(post);
    EXPECT_EQ(stack.title(), QStringLiteral("林"));
    EXPECT_TRUE(saveScreenshot(window(), QStringLiteral("window-post")));
    stack.pop();
    content().push(find(addPost(QStringLiteral("https://127.0.0.1:9/nameless"))->id()));
    EXPECT_EQ(stack.title(), Platform(Platform::web).displayName());
    stack.pop();
    stack.pop();
    EXPECT_EQ(stack.title(), QStringLiteral("整理"));
}

TEST_F(ShellWindowTest, AnOpenPostsTitleFollowsItsAuthor)
{
    auto post = addPost(QStringLiteral("https://127.0.0.1:9/renamed"));
    NavigationStack &stack = content().stack();
    content().push(post);
    auto *detail = qobject_cast<PostDetailView *>(stack.top());
    ASSERT_TRUE(detail);
    EXPECT_EQ(stack.title(), Platform(Platform::web).displayName());
    const auto rename = [&](const QString &name) {
        post->setAuthorName(name);
        context().save();
        return QTest::qWaitFor([&] { return detail->title() == name; }, 10000);
    };

    // A parse that finds the author names the open screen, and a rename follows.
    EXPECT_TRUE(rename(QStringLiteral("林")));
    EXPECT_EQ(stack.title(), QStringLiteral("林"));
    EXPECT_TRUE(rename(QStringLiteral("林小雨")));
    EXPECT_EQ(stack.title(), QStringLiteral("林小雨"));
    EXPECT_EQ(stack.findChild<ElidedLabel *>(QStringLiteral("navigationTitle"))->text(),
              QStringLiteral("林小雨"));

    // A page over it keeps its own title while the post changes beneath.
    auto *page = new QWidget;
    stack.setTitle(page, QStringLiteral("上层"));
    stack.push(page);
    EXPECT_TRUE(rename(QStringLiteral("雨")));
    EXPECT_EQ(stack.title(), QStringLiteral("上层"));
    stack.pop();
    EXPECT_EQ(stack.title(), QStringLiteral("雨"));
}

TEST_F(ShellWindowTest, TheBarFoldsAwayWhileTheToolbarIsHidden)
{
    window().resize(1000, 640);
    NavigationStack &stack = content().stack();
    QWidget *page = stack.root();
    model->setToolbarHidden(true);
    EXPECT_EQ(stack.barExtent(), 0);
    EXPECT_EQ(page->mapTo(&stack, QPoint()).y(), 0) << "the page takes the bar's room";
    model->setToolbarHidden(false);
    EXPECT_EQ(stack.barExtent(), NavigationStack::barHeight);
    EXPECT_EQ(page->mapTo(&stack, QPoint()).y(), NavigationStack::barHeight);
}

TEST_F(ShellWindowTest, TheLibrarysToolbarFadesAsTheBarFoldsAroundIt)
{
    const SteppedMotions stepped;
    window().resize(1000, 640);
    NavigationStack &stack = content().stack();
    auto *library = qobject_cast<LibraryView *>(stack.root());
    ASSERT_TRUE(library);
    emit library->masonry()->toolbarHiddenRequested(true);
    EXPECT_TRUE(model->toolbarHidden());
    for (Motion *motion : {&stack.barMotion(), &library->toolbarFade()})
        motion->setCurrentTime(motion->duration() / 2);
    EXPECT_TRUE(library->toolbarAction()->isVisible());
    EXPECT_TRUE(saveScreenshot(window(), QStringLiteral("window-bar-folding")));
    stack.barMotion().finish();
    library->toolbarFade().finish();
    EXPECT_EQ(stack.barExtent(), 0);
    EXPECT_FALSE(library->toolbarAction()->isVisible());
}

TEST_F(ShellWindowTest, ATrayClickWithControlHeldOpensTheMenuInsteadOfSaving)
{
    menuBar->install();
    Pasteboard::general().setString(QStringLiteral("https://127.0.0.1:9/tray/control"));
    menuBar->clicked(Qt::ControlModifier);
    EXPECT_EQ(postCount(), 0);
    EXPECT_TRUE(settle([&] { return menuBar->menu().isVisible(); }));
    menuBar->menu().close();
}

TEST_F(ShellWindowTest, KeepingTheTaskbarEntryMinimisesTheClosedWindow)
{
    TamselStore::defaults().setBool(QStringLiteral("menuBarHideDock"), false);
    MainWindow *shown = &window();
    shown->close();
    ASSERT_EQ(app->mainWindow(), shown) << "kept, not destroyed";
    EXPECT_TRUE(shown->isMinimized());
    model->openMainWindow();
    EXPECT_TRUE(settle([&] { return !shown->isMinimized(); }));
    shown->closeForQuit();
    EXPECT_TRUE(settle([&] { return !app->mainWindow(); })) << "quitting still closes it";
}

TEST_F(ShellWindowTest, TheNamingAlertShowsItsTitleInsideTheDialog)
{
    model->setNamingText(QString());
    model->setNaming(Naming::newTag());
    auto *alert = openDialog<QDialog>();
    ASSERT_TRUE(alert);
    auto *title = alert->findChild<QLabel *>(QStringLiteral("namingTitle"));
    ASSERT_TRUE(title);
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), QStringLiteral("新建标签"));
    alert->reject();
}

TEST_F(ShellWindowTest, NamingAlertsOpenWideEnoughForTheirFramesTitle)
{
    for (const AppLanguage::Value language : {AppLanguage::zh, AppLanguage::en}) {
        AppLanguage(language).load(*qApp);
        for (const Naming &naming : {Naming::newTag(), Naming::newBoard()}) {
            model->setNaming(naming);
            auto *alert = openDialog<QDialog>();
            ASSERT_TRUE(alert);
            EXPECT_TRUE(saveScreenshot(*alert, QStringLiteral("naming-alert-%1").arg(naming.title())));
            // The frame's title with the application's name, beside three
            // buttons of at least 24 points.
            QFont bold = alert->font();
            bold.setBold(true);
            const QString frameTitle =
                naming.title() + QStringLiteral(" \u2014 ") + QGuiApplication::applicationDisplayName();
            EXPECT_GE(alert->width(), QFontMetrics(bold).horizontalAdvance(frameTitle) + 3 * 24)
                << qPrintable(frameTitle);
            alert->reject();
            ASSERT_TRUE(settle([&] { return !model->naming(); }));
        }
    }
    AppLanguage(AppLanguage::zh).load(*qApp);
}

TEST_F(ShellWindowTest, TheToastStandsAboveAPlayersSeekBar)
{
    window().resize(1000, 640);
    auto *page = new QWidget;
    QMediaPlayer player;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto *controls = new PlayerControls(player);
    layout->addWidget(controls);
    content().stack().push(page);
    QTest::qWait(0);
    model->show(QStringLiteral("已复制链接"));
    auto *toast = content().findChild<Toast *>();
    ASSERT_TRUE(toast->isVisible());
    const QRect bar(controls->mapTo(&content(), QPoint()), controls->size());
    EXPECT_FALSE(toast->geometry().intersects(bar));
    EXPECT_LT(toast->geometry().bottom(), bar.top());
}

} // namespace

TEST_F(ShellWindowTest, TheSettingsWindowOpensOverTheMainWindow)
{
    window().setGeometry(300, 200, 1000, 700);
    app->showSettingsWindow();
    QWidget *settings = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("MacSettingsView"))
            settings = widget;
    ASSERT_TRUE(settings);
    EXPECT_LT((settings->geometry().center() - window().geometry().center()).manhattanLength(), 8);
    settings->close();
}

TEST_F(ShellWindowTest, CtrlQQuitsFromTheSettingsWindowAndFromASheet)
{
    // Quitting closes the main window first; the event loop that would end
    // does not run under tests.
    const auto ctrlQClosesTheMainWindow = [&](QWidget &active) {
        active.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&active));
        QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : &active;
        QTest::keyClick(focus, Qt::Key_Q, Qt::ControlModifier);
        return settle([&] { return !app->mainWindow(); });
    };

    window();
    app->showSettingsWindow();
    QWidget *settings = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("MacSettingsView") && widget->isVisible())
            settings = widget;
    ASSERT_TRUE(settings);
    EXPECT_TRUE(ctrlQClosesTheMainWindow(*settings)) << "from the settings window";
    settings->close();

    model->setShowAdd(true);
    auto *sheet = openDialog<AddLinkSheet>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(ctrlQClosesTheMainWindow(*sheet)) << "from the add-link sheet";
}
