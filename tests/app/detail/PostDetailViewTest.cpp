#include "AuthorAccount.h"
#include "Chip.h"
#include "Divider.h"
#include "InfoPane.h"
#include "MediaImage.h"
#include "MediaPages.h"
#include "MediaPane.h"
#include "MediaThumb.h"
#include "PageCounter.h"
#include "PostScreenFixture.h"
#include "PlayerItemView.h"
#include "PlayerView.h"
#include "QuickLookWindow.h"
#include "Screenshot.h"
#include "StarAuthorButton.h"
#include "StillImage.h"
#include "Symbol.h"
#include "Theme.h"
#include "TestClip.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>
#include <gtest/gtest.h>

namespace {

const QList<QColor> colors{QColor("#C0392B"), QColor("#27AE60"), QColor("#2980B9")};

// How far a line on the screen stands out, in grey, from the closer of its two sides.
int standOut(const QImage &screen, const QWidget &shown, const QWidget &line)
{
    const QPoint middle = line.mapTo(&shown, line.rect().center());
    const QPoint across = line.width() < line.height() ? QPoint(2, 0) : QPoint(0, 2);
    const auto grey = [&](const QPoint &at) { return qGray(screen.pixel(at)); };
    return std::min(std::abs(grey(middle) - grey(middle - across)),
                    std::abs(grey(middle) - grey(middle + across)));
}

// Receives the links of both schemes that the view hands to the desktop.
class DesktopLinks : public QObject {
    Q_OBJECT
public:
    DesktopLinks()
    {
        for (const QString &scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~DesktopLinks() override
    {
        for (const QString &scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }

private:
    const QStringList schemes{QStringLiteral("https"), QStringLiteral("file")};
};

class PostDetailViewTest : public PostScreenFixture {
protected:
    // A post with one picture of each colour, saved.
    std::shared_ptr<Post> postWithPictures()
    {
        auto post = addPost(QStringLiteral("海边的一天"));
        post->setContent(QStringLiteral("傍晚的云很好看，风也不大。"));
        post->setTags({addTag(QStringLiteral("旅行"))});
        for (const QColor &color : colors)
            addCover(post, 300, 200, color);
        save();
        return post;
    }

    // Whether the stage's picture comes to be of that colour (loads take a moment).
    static bool shows(PostDetailView &view, const QColor &color)
    {
        MediaPane *pane = view.mediaPane();
        auto *page = qobject_cast<StillImage *>(pane->pages()->view(pane->index()));
        if (!page)
            return false;
        MediaImage *image = page->image();
        return QTest::qWaitFor(
            [&] {
                const QImage picture = image->image();
                if (picture.isNull())
                    return false;
                const QColor shown = picture.pixelColor(picture.rect().center());
                return std::abs(shown.red() - color.red()) < 12 &&
                       std::abs(shown.green() - color.green()) < 12 &&
                       std::abs(shown.blue() - color.blue()) < 12;
            },
            10000);
    }

    // Chinese text arrives through the input method, committed at once.
    static void typeIntoNote(PostDetailView &view, const QString &text)
    {
        QPlainTextEdit *note = view.infoPane()->noteEditor();
        note->setFocus();
        note->moveCursor(QTextCursor::End);
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QCoreApplication::sendEvent(note, &commit);
    }

    static void appear(Theme::Appearance appearance)
    {
        QApplication::setPalette(Theme::palette(appearance));
        QApplication::processEvents();
    }

    struct Windowed {
        std::unique_ptr<QWidget> window;
        PostDetailView *view;
    };

    // The screen under its toolbar in one active window, as the application shows it.
    Windowed showInWindow(const std::shared_ptr<Post> &post)
    {
        auto window = std::make_unique<QWidget>();
        auto *view = new PostDetailView(post, context, pendingDelete);
        auto *bar = new QToolBar;
        bar->addAction(view->toolbarAction());
        auto *rows = new QVBoxLayout(window.get());
        rows->addWidget(bar);
        rows->addWidget(view);
        window->resize(1100, 760);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return {std::move(window), view};
    }

    // Whether the widget holding the focus paints differently once the focus leaves it.
    static bool showsFocus(QWidget &focused, QWidget &elsewhere)
    {
        const QImage with = focused.grab().toImage();
        elsewhere.setFocus();
        const QImage without = focused.grab().toImage();
        focused.setFocus(Qt::TabFocusReason);
        return with != without;
    }

    static QToolButton *button(PostDetailView &view, const QString &name)
    {
        return view.toolbarAction()->defaultWidget()->findChild<QToolButton *>(name);
    }
};

TEST_F(PostDetailViewTest, ArrowKeysButtonsAndThumbnailsPageThroughPicturesAndStopAtBothEnds)
{
    auto view = show(postWithPictures());
    MediaPane *pane = view->mediaPane();
    auto *next = pane->findChild<QToolButton *>(QStringLiteral("nextMedia"));

    press(Qt::Key_Left);
    EXPECT_EQ(pane->index(), 0);
    press(Qt::Key_Right);
    EXPECT_EQ(pane->index(), 1);
    EXPECT_TRUE(shows(*view, colors[1]));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-image")));

    QTest::mouseClick(next, Qt::LeftButton);
    press(Qt::Key_Right);
    EXPECT_EQ(pane->index(), 2);

    const auto thumbs = pane->findChildren<MediaThumb *>();
    ASSERT_EQ(thumbs.size(), 3);
    QTest::mouseClick(thumbs[0], Qt::LeftButton);
    EXPECT_TRUE(shows(*view, colors[0]));
    press(Qt::Key_Right);
    EXPECT_EQ(pane->index(), 1);
}

// The keys go to whatever holds the focus after the click, as on screen.
TEST_F(PostDetailViewTest, ArrowsPageAndSpacePreviewsAfterAClickAnywhereOutsideTheNote)
{
    auto post = postWithPictures();
    post->setParseState(ParseState::failed);
    post->setBoards({addBoard(QStringLiteral("行程"))});
    save();
    auto view = show(post);
    QSignalSpy reparse(view.get(), &PostDetailView::reparseRequested);
    MediaPane *pane = view->mediaPane();
    InfoPane *info = view->infoPane();
    const auto chips = info->findChildren<Chip *>();
    ASSERT_EQ(chips.size(), 2);
    struct Target {
        const char *name;
        QWidget *widget;
        QPoint at;
    };
    const QList<Target> targets{
        {"thumbnail", pane->findChildren<MediaThumb *>().value(1), {}},
        {"stage", pane->stage(), {}},
        {"tag chip", chips[0], {}},
        {"board chip", chips[1], {}},
        {"tag menu", info->findChild<QToolButton *>(QStringLiteral("addTag")), {}},
        {"star", info->findChild<StarAuthorButton *>(), {}},
        {"title", info->findChild<QLabel *>(QStringLiteral("postTitle")), {}},
        {"reparse", info->findChild<QPushButton *>(QStringLiteral("reparse")), {}},
        {"empty space", info, {info->width() / 2, info->height() - 4}},
    };
    // The menu opened by the click closes again at once.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    });
    closer.start(0);

    for (const Target &target : targets) {
        ASSERT_NE(target.widget, nullptr) << target.name;
        QTest::mouseClick(info->noteEditor(), Qt::LeftButton);
        QTest::mouseClick(target.widget, Qt::LeftButton, {}, target.at);
        // Offscreen, a closed menu leaves no window active; a desktop hands activation back.
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == view.get(); }, 10000))
            << target.name;
        const int before = pane->index();
        const bool last = before == pane->count() - 1;
        press(last ? Qt::Key_Left : Qt::Key_Right);
        EXPECT_EQ(pane->index(), before + (last ? -1 : 1)) << target.name;
        press(Qt::Key_Space);
        EXPECT_TRUE(view->quickLook()) << target.name;
        press(Qt::Key_Space);
        EXPECT_FALSE(view->quickLook()) << target.name;
    }
    EXPECT_EQ(reparse.size(), 1) << "only the click re-parses";
    EXPECT_TRUE(info->noteEditor()->toPlainText().isEmpty());

    // The title's text, selected with the mouse, still copies.
    auto *title = info->findChild<QLabel *>(QStringLiteral("postTitle"));
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(1, title->height() / 2));
    QTest::mouseMove(title, QPoint(title->width() - 1, title->height() / 2));
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(title->width() - 1, title->height() / 2));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), post->title());
}

TEST_F(PostDetailViewTest, KeysTypedInTheNoteEditTheNoteAndDoNotPage)
{
    auto view = show(postWithPictures());
    typeIntoNote(*view, QStringLiteral("ab"));
    QPlainTextEdit *note = view->infoPane()->noteEditor();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(note, Qt::Key_Right);
    QTest::keyClick(note, Qt::Key_Left);
    QTest::keyClick(note, Qt::Key_Left);
    QTest::keyClicks(note, QStringLiteral("x"));
    QTest::keyClick(note, Qt::Key_Space);
    EXPECT_EQ(note->toPlainText(), QStringLiteral("x ab"));
    EXPECT_EQ(view->mediaPane()->index(), 0);
    EXPECT_FALSE(view->quickLook());
}

TEST_F(PostDetailViewTest, SpaceOpensTheCurrentItemInQuickLookAndClosesIt)
{
    auto post = postWithPictures();
    post->setTitle(QStringLiteral("海边/黄昏"));
    save();
    auto view = show(post);
    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Space);
    ASSERT_TRUE(view->quickLook());
    EXPECT_TRUE(view->quickLook()->endsWith(QStringLiteral("/海边 黄昏-2.jpg")));
    QuickLookWindow *window = view->quickLookWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("post-detail-quick-look")));

    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_FALSE(view->quickLook());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(PostDetailViewTest, SpacePlaysVideosAndSongsInThePreviewFromTheStoresFile)
{
    auto post = addPost(QStringLiteral("一段视频和一首歌"));
    auto video = addCover(post, 320, 240, colors[0], MediaKind::video);
    video->setVideo(TestClip::avi(colors[1], false, 3));
    auto song = addCover(post, 320, 320, colors[2], MediaKind::audio);
    song->setVideo(TestClip::avi(colors[1], true, 3));
    save();
    auto view = show(post);

    QTest::keyClick(view.get(), Qt::Key_Space);
    QuickLookWindow *window = view->quickLookWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->playerView(), nullptr);
    auto *file = qobject_cast<const QFile *>(window->playerView()->player().sourceDevice());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->fileName(), video->videoDataFilePath().value());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("一段视频和一首歌-1.mp4"));
    EXPECT_NE(window->playerView()->findChild<QToolButton *>(QStringLiteral("fullScreen")), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->playerView()->hasFrame(); }, 15000));
    EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("post-detail-preview-video")));

    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_FALSE(view->quickLook());
    EXPECT_EQ(window->playerView(), nullptr) << "closing stops the playing";

    QTest::keyClick(view.get(), Qt::Key_Right);
    QTest::keyClick(view.get(), Qt::Key_Space);
    ASSERT_NE(window->playerView(), nullptr);
    EXPECT_EQ(window->playerView()->findChild<QToolButton *>(QStringLiteral("fullScreen")), nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("一段视频和一首歌-2.mp3"));
    auto *cover = window->findChild<MediaImage *>();
    ASSERT_NE(cover, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !cover->image().isNull(); }, 10000));
    EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("post-detail-preview-song")));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(view->quickLook());
}

TEST_F(PostDetailViewTest, StripMarksMovingItemsFadesTheOthersAndCentresTheCurrent)
{
    auto post = addPost(QStringLiteral("十二项"));
    const QList<MediaKind> kinds{MediaKind::image, MediaKind::video, MediaKind::livePhoto, MediaKind::audio};
    for (int i = 0; i < 12; ++i) {
        auto item = addCover(post, 300, 200, colors[i % 3], kinds.value(i, MediaKind::image));
        if (i > 0 && i < 3)
            item->setVideoRemoteURL(QStringLiteral("https://127.0.0.1:1/clip.mp4"));
    }
    post->sortedMedia().at(3)->setVideo(TestClip::avi(colors[0], true));
    save();
    auto view = show(post);
    view->resize(900, 700);
    MediaPane *pane = view->mediaPane();
    const QList<MediaThumb *> thumbs = pane->findChildren<MediaThumb *>();
    ASSERT_EQ(thumbs.size(), 12);
    EXPECT_EQ(thumbs[0]->glyph(), QString());
    EXPECT_EQ(thumbs[1]->glyph(), QStringLiteral("play.fill"));
    EXPECT_EQ(thumbs[2]->glyph(), QStringLiteral("livephoto"));
    EXPECT_EQ(thumbs[3]->glyph(), QStringLiteral("music.note"));
    EXPECT_EQ(thumbs[0]->opacity(), 1.0);
    EXPECT_EQ(thumbs[5]->opacity(), MediaThumb::fadedOpacity);

    // On a video the counter keeps clear of the player's control bar.
    pane->jump(1);
    auto *counter = pane->findChild<PageCounter *>(QStringLiteral("mediaCounter"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return counter->geometry().bottom() < pane->stage()->height() - PlayerView::controlsReach; },
        10000));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-video-counter")));
    // On a song it stays at the bottom of the stage and the bar keeps above it, on a short stage too.
    pane->jump(3);
    auto *song = qobject_cast<PlayerItemView *>(pane->pages()->view(3));
    ASSERT_NE(song, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return song->playerView() && song->playerView()->isVisible(); }, 10000));
    const auto barBottom = [&] {
        QWidget *bar = song->playerView();
        return bar->mapTo(pane->stage(), bar->rect().bottomLeft()).y();
    };
    for (int height : {760, 420}) {
        view->resize(900, height);
        EXPECT_TRUE(QTest::qWaitFor([&] { return counter->geometry().top() > barBottom(); }, 10000))
            << height << ": counter at " << counter->geometry().top() << ", bar down to " << barBottom();
        EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-song-counter-%1").arg(height)));
    }
    view->resize(900, 700);
    pane->jump(1);
    EXPECT_EQ(counter->text(), QStringLiteral("2 / 12"));
    // The counter keeps its width when the page gains a digit.
    const int counterWidth = counter->width();
    pane->jump(9);
    EXPECT_EQ(counter->text(), QStringLiteral("10 / 12"));
    EXPECT_EQ(counter->sizeHint().width(), counterWidth);
    QApplication::processEvents();
    EXPECT_EQ(counter->width(), counterWidth);
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-counter-tenth")));

    pane->jump(6);
    auto *strip = pane->findChild<QScrollArea *>(QStringLiteral("mediaStrip"));
    const auto offCentre = [&] {
        const QPoint centre = thumbs[6]->mapTo(strip->viewport(), thumbs[6]->rect().center());
        return std::abs(centre.x() - strip->viewport()->width() / 2);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return offCentre() <= 1; }, 10000)) << offCentre();
    EXPECT_EQ(thumbs[6]->opacity(), 1.0);
    EXPECT_EQ(thumbs[0]->opacity(), MediaThumb::fadedOpacity);
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-strip")));
}

TEST_F(PostDetailViewTest, NoteChangedElsewhereShowsUnlessTheUserIsTyping)
{
    auto post = postWithPictures();
    auto view = show(post);
    QPlainTextEdit *note = view->infoPane()->noteEditor();
    post->setNote(QStringLiteral("同步来的"));
    save();
    EXPECT_TRUE(QTest::qWaitFor([&] { return note->toPlainText() == QStringLiteral("同步来的"); }, 10000));

    typeIntoNote(*view, QStringLiteral("，我加的"));
    post->setNote(QStringLiteral("又一次同步"));
    save();
    TestAsync::runTimersDueWithin(std::chrono::milliseconds(50));
    EXPECT_EQ(note->toPlainText(), QStringLiteral("同步来的，我加的"));
    view->setFocus();
    EXPECT_EQ(post->note(), QStringLiteral("同步来的，我加的"));
}

TEST_F(PostDetailViewTest, NoteBeingTypedIsSavedWhenTheWindowClosesOrTheViewGoesAway)
{
    for (const bool destroy : {false, true}) {
        auto post = postWithPictures();
        auto view = show(post);
        typeIntoNote(*view, QStringLiteral("路上还在想"));
        if (destroy)
            view.reset();
        else
            view->close();
        EXPECT_EQ(post->note(), QStringLiteral("路上还在想")) << destroy;
        EXPECT_FALSE(context.hasChanges());
    }
}

TEST_F(PostDetailViewTest, PostWithoutMediaShowsItsInformationAlone)
{
    auto post = addPost(QStringLiteral("没有图片的一条"));
    save();
    auto view = show(post);
    EXPECT_EQ(view->mediaPane(), nullptr);
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-alone")));
    QTest::keyClick(view.get(), Qt::Key_Right);
    // With nothing to page, Tab goes round without stopping on the screen, which would show no focus.
    const auto [window, screen] = showInWindow(post);
    for (int i = 0; i < 12; ++i) {
        press(Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), screen);
    }
}

// Media may arrive after the screen opened (a parse again) and leave while it
// is open (a sync); the archive flag may change from the post's menu or a sync.
TEST_F(PostDetailViewTest, ScreenFollowsMediaAndArchiveFlagChangedWhileItIsOpen)
{
    auto post = addPost(QStringLiteral("解析失败的一条"));
    save();
    auto view = show(post);
    QToolButton *saveMenu = button(*view, QStringLiteral("Save"));
    EXPECT_TRUE(saveMenu->isHidden());

    QList<std::shared_ptr<Media>> media;
    for (const QColor &color : colors)
        media.append(addCover(post, 300, 200, color));
    save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->mediaPane() && view->mediaPane()->count() == 3; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->mediaPane()->isVisible(); }, 10000));
    EXPECT_FALSE(saveMenu->isHidden());
    view->mediaPane()->jump(2);

    context.remove(media[1]);
    save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->mediaPane()->count() == 2; }, 10000));
    EXPECT_EQ(view->mediaPane()->index(), 1) << "the current picture stays current";
    EXPECT_TRUE(shows(*view, colors[2]));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-media-arrived")));

    QToolButton *archive = button(*view, QStringLiteral("Archive"));
    post->setIsArchived(true);
    save();
    EXPECT_TRUE(QTest::qWaitFor([&] { return archive->text() == QStringLiteral("取消归档"); }, 10000));

    for (const auto &item : {media[0], media[2]})
        context.remove(item);
    save();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->mediaPane(); }, 10000));
    EXPECT_TRUE(saveMenu->isHidden());
}

TEST_F(PostDetailViewTest, ToolbarButtonsCarrySymbolsAndTheArchiveBoxFillsWhileArchived)
{
    auto view = show(postWithPictures());
    QToolBar bar;
    bar.addAction(view->toolbarAction());
    bar.show();
    const auto drawn = [](const QToolButton &button) {
        return button.icon().pixmap(QSize(16, 16), 2).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    QToolButton *archive = button(*view, QStringLiteral("Archive"));
    const auto symbol = [&](const QString &name) {
        const QColor ink = archive->palette().color(QPalette::ButtonText);
        return Symbol::pixmap(name, 16, ink, 1.3, 2).toImage().convertToFormat(QImage::Format_ARGB32);
    };
    for (const char *name : {"OpenSource", "Save", "Archive", "More", "Delete"}) {
        QToolButton *shown = button(*view, QLatin1String(name));
        ASSERT_NE(shown, nullptr) << name;
        EXPECT_FALSE(shown->icon().isNull()) << name;
        EXPECT_NE(drawn(*shown), symbol(QStringLiteral("no.such"))) << name << " draws a symbol";
    }
    EXPECT_EQ(drawn(*button(*view, QStringLiteral("OpenSource"))), symbol(QStringLiteral("safari")));
    EXPECT_EQ(drawn(*archive), symbol(QStringLiteral("archivebox")));
    QTest::mouseClick(archive, Qt::LeftButton);
    EXPECT_EQ(drawn(*archive), symbol(QStringLiteral("archivebox.fill")));
    // The longer "取消归档" widens the bar once its layout has run, as in the window.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    bar.resize(bar.sizeHint());
    EXPECT_TRUE(saveScreenshot(bar, QStringLiteral("post-detail-toolbar-archived")));
}

// The screen, its media pane and its toolbar paint after a switch of
// appearance as ones built in the new appearance do.
TEST_F(PostDetailViewTest, ScreenFollowsEverySwitchOfAppearanceAsIfBuiltAnew)
{
    auto post = addPost(QStringLiteral("深浅"));
    post->setTags({addTag(QStringLiteral("旅行"))});
    for (int i = 0; i < 3; ++i)
        addCover(post, 0, 0);
    save();
    struct Shown {
        std::unique_ptr<PostDetailView> view;
        std::unique_ptr<QToolBar> bar;
    };
    const auto build = [&] {
        Shown shown{show(post), std::make_unique<QToolBar>()};
        shown.view->mediaPane()->jump(1);
        shown.bar->addAction(shown.view->toolbarAction());
        shown.bar->show();
        return shown;
    };
    const auto paint = [](const Shown &shown) {
        QApplication::processEvents();
        return QList<QImage>{shown.view->grab().toImage(), shown.bar->grab().toImage()};
    };
    appear(Theme::Appearance::light);
    const Shown shown = build();
    const QList<QImage> light = paint(shown);
    appear(Theme::Appearance::dark);
    const QList<QImage> dark = paint(shown);
    EXPECT_TRUE(saveScreenshot(*shown.view, QStringLiteral("post-detail-dark")));
    EXPECT_TRUE(saveScreenshot(*shown.bar, QStringLiteral("post-detail-toolbar-dark")));
    EXPECT_EQ(dark, paint(build()));
    appear(Theme::Appearance::light);
    EXPECT_EQ(paint(shown), light);
    EXPECT_NE(dark, light);
    // The dividers read against what lies beside them in either appearance.
    const QList<Divider *> dividers = shown.view->findChildren<Divider *>();
    ASSERT_EQ(dividers.size(), 3) << "beside the media and twice in the column";
    for (const QImage &screen : {light[0], dark[0]})
        for (const Divider *divider : dividers)
            EXPECT_GE(standOut(screen, *shown.view, *divider), 16)
                << divider->mapTo(shown.view.get(), QPoint()).x();
}

TEST_F(PostDetailViewTest, RemovingAnEarlierItemKeepsTheShownOneShown)
{
    auto post = postWithPictures();
    auto view = show(post);
    MediaPane *pane = view->mediaPane();
    press(Qt::Key_Right);
    ASSERT_TRUE(shows(*view, colors[1]));
    context.remove(post->sortedMedia().first());
    save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->count() == 2; }, 10000));
    EXPECT_EQ(pane->index(), 0);
    EXPECT_TRUE(shows(*view, colors[1]));
    EXPECT_EQ(pane->findChild<PageCounter *>()->text(), QStringLiteral("1 / 2"));
}

TEST_F(PostDetailViewTest, CtrlKeysArchiveAndDeleteOnlyWithoutTextFocusAndWithCtrlAlone)
{
    auto post = postWithPictures();
    auto view = show(post);
    QSignalSpy dismissed(view.get(), &PostDetailView::dismissRequested);
    typeIntoNote(*view, QStringLiteral("笔记"));
    QWidget *note = view->infoPane()->noteEditor();
    QTest::keyClick(note, Qt::Key_E, Qt::ControlModifier);
    QTest::keyClick(note, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_FALSE(post->isArchived());
    EXPECT_TRUE(dismissed.isEmpty());
    EXPECT_TRUE(pendingDelete.posts().isEmpty());

    view->setFocus();
    QTest::keyClick(view.get(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(post->isArchived());
    QTest::keyClick(view.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(post->isArchived());
    EXPECT_FALSE(context.hasChanges());

    // The screen leaves before the post is hidden from the library.
    QObject::connect(view.get(), &PostDetailView::dismissRequested,
                     [&] { EXPECT_TRUE(pendingDelete.posts().isEmpty()); });
    QTest::keyClick(view.get(), Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(dismissed.size(), 1);
    EXPECT_EQ(pendingDelete.posts(), UndoableDelete::PostList{post});
    pendingDelete.undo();
}

TEST_F(PostDetailViewTest, OnlyWebLinksGetTheOpenSourceButton)
{
    DesktopLinks desktop;
    auto web = postWithPictures();
    auto view = show(web);
    QToolButton *open = button(*view, QStringLiteral("OpenSource"));
    ASSERT_NE(open, nullptr);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl(web->sourceURL())});

    auto local = addPost(QStringLiteral("本地链接"));
    local->setSourceURL(QStringLiteral("file:///etc/passwd"));
    save();
    EXPECT_EQ(button(*show(local), QStringLiteral("OpenSource")), nullptr);
}

TEST_F(PostDetailViewTest, NamesWithAnAmpersandShowAsWrittenAndGiveNoShortcut)
{
    const QString name = QStringLiteral("R&D");
    auto post = postWithPictures();
    post->setTitle(name);
    post->setAuthorName(name);
    post->setTags({addTag(name)});
    post->setBoards({addBoard(name)});
    save();
    const auto [window, view] = showInWindow(post);
    EXPECT_TRUE(saveScreenshot(*view->infoPane(), QStringLiteral("post-detail-ampersand")));
    const QList<Chip *> chips = view->infoPane()->findChildren<Chip *>();
    ASSERT_EQ(chips.size(), 2);
    EXPECT_EQ(chips[0]->text(), QStringLiteral("#R&D"));
    EXPECT_EQ(chips[1]->text(), name);

    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(post->tags().size(), 1);
    EXPECT_EQ(post->boards().size(), 1);
    EXPECT_FALSE(StarAuthorButton::isStarred(AuthorAccount::fromPost(*post), context));
}

TEST_F(PostDetailViewTest, ALinkNothingOpensIsNamedInAToast)
{
    // The offscreen platform has nothing to open links with.
    auto post = postWithPictures();
    auto view = show(post);
    QSignalSpy toasts(view.get(), &PostDetailView::toastRequested);
    QTest::mouseClick(button(*view, QStringLiteral("OpenSource")), Qt::LeftButton);
    ASSERT_EQ(toasts.size(), 1);
    EXPECT_EQ(toasts[0][0].toString(), QStringLiteral("没有程序能打开 ") + post->sourceURL());
}

TEST_F(PostDetailViewTest, TheMoreMenuDropsFromItsButtonWhereverThePointerIs)
{
    const auto [window, view] = showInWindow(postWithPictures());
    QCursor::setPos(window->mapToGlobal(QPoint(window->width() - 10, window->height() - 10)));
    QToolButton *more = button(*view, QStringLiteral("More"));
    more->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    QWidget *menu = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (menu = QApplication::activePopupWidget()) != nullptr; }, 10000));
    EXPECT_EQ(menu->pos(), more->mapToGlobal(QPoint(0, more->height())));
    menu->close();
}

TEST_F(PostDetailViewTest, PostDeletedWhileShownGivesWayToTheDeletedPage)
{
    appear(Theme::Appearance::light);
    auto post = postWithPictures();
    auto view = show(post);
    context.remove(post);
    save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isDeletedPageShown(); }, 10000));
    QSignalSpy toasts(view.get(), &PostDetailView::toastRequested);
    QTest::keyClick(view.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(toasts.isEmpty());

    // The page follows a switch of appearance as one built in the new appearance looks.
    const QImage light = view->grab().toImage();
    appear(Theme::Appearance::dark);
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-deleted-dark")));
    EXPECT_EQ(view->grab().toImage(), show(post)->grab().toImage());
    appear(Theme::Appearance::light);
    EXPECT_EQ(view->grab().toImage(), light);
    view.reset();
    const QWidgetList left = QApplication::allWidgets();
    EXPECT_TRUE(std::none_of(left.begin(), left.end(), [](QWidget *widget) {
        return qobject_cast<InfoPane *>(widget);
    })) << "a screen built for a post already gone leaves nothing behind";
}

} // namespace

#include "PostDetailViewTest.moc"

// Tab walks the screen and its toolbar as in the window: every stop shows
// it holds the focus, and back on the screen the arrows page again.
TEST_F(PostDetailViewTest, TabStopsOnlyAtControlsThatShowTheFocusAndComesBackToPaging)
{
    auto post = addPost(QStringLiteral("海边的一天"));
    post->setTags({addTag(QStringLiteral("旅行"))});
    post->setBoards({addBoard(QStringLiteral("行程"))});
    post->setParseState(ParseState::failed);
    addCover(post, 320, 240, colors[0], MediaKind::livePhoto)->setVideo(TestClip::avi(colors[1], true, 1));
    addCover(post, 300, 200, colors[2]);
    save();
    // The note's caret stays lit, so a grab never catches it blinking off.
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    for (const auto appearance : {Theme::Appearance::light, Theme::Appearance::dark}) {
        appear(appearance);
        const auto [window, view] = showInWindow(post);
        ASSERT_EQ(QApplication::focusWidget(), view);

        QList<QWidget *> stops;
        while (stops.size() < 30 && !stops.contains(view)) {
            press(Qt::Key_Tab);
            QWidget *stop = QApplication::focusWidget();
            ASSERT_NE(stop, nullptr);
            const QString name =
                QString::fromLatin1(stop->metaObject()->className()) + u' ' + stop->objectName();
            EXPECT_EQ(qobject_cast<QScrollArea *>(stop), nullptr) << name.toStdString();
            EXPECT_TRUE(showsFocus(*stop, *window)) << name.toStdString() << " is a silent stop";
            if (appearance == Theme::Appearance::dark && stop->objectName() == QStringLiteral("addTag"))
                EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-tab-dark")));
            stops << stop;
        }
        EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("post-detail-tab-back-on-the-screen")));
        InfoPane *info = view->infoPane();
        // The column's stops in reading order, then the toolbar's and the screen's own.
        QList<QWidget *> column{info->findChild<StarAuthorButton *>(),
                                info->findChild<QPushButton *>(QStringLiteral("reparse"))};
        for (const Chip *chip : info->findChildren<Chip *>())
            column << chip->removeButton();
        column << info->findChild<QToolButton *>(QStringLiteral("addTag"))
               << info->findChild<QToolButton *>(QStringLiteral("addBoard")) << info->noteEditor();
        QList<QWidget *> needed = column;
        for (const char *name : {"OpenSource", "Save", "Archive", "More", "Delete"})
            needed << button(*view, QLatin1String(name));
        needed << view;
        for (QWidget *widget : needed) {
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(stops.contains(widget)) << widget->objectName().toStdString() << " is reached";
        }
        EXPECT_EQ(stops.size(), needed.size()) << "one stop each";
        EXPECT_EQ(stops.mid(stops.indexOf(column.first()), column.size()), column) << "the column reads down";

        press(Qt::Key_Right);
        EXPECT_EQ(view->mediaPane()->index(), 1);

        // "重新解析" goes with the failure it answers; the keys come back to the screen rather
        // than hiding with it or moving on to a chip's cross.
        while (QApplication::focusWidget()->objectName() != QStringLiteral("reparse"))
            press(Qt::Key_Tab);
        press(Qt::Key_Space);
        post->setParseState(ParseState::pending);
        save();
        EXPECT_TRUE(QTest::qWaitFor([shown = view] { return QApplication::focusWidget() == shown; }, 10000));
        EXPECT_TRUE(showsFocus(*view, *window));
        press(Qt::Key_Space);
        EXPECT_TRUE(view->quickLook());
        press(Qt::Key_Space);
        EXPECT_FALSE(view->quickLook());
        post->setParseState(ParseState::failed);
        save();
    }
    QApplication::setCursorFlashTime(flashTime);
    appear(Theme::Appearance::light);
}
