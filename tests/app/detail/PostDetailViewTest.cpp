#include "../library/LibraryFixture.h"
#include "InfoPane.h"
#include "MediaImage.h"
#include "MediaPages.h"
#include "MediaPane.h"
#include "MediaThumb.h"
#include "PostDetailView.h"
#include "QuickLookWindow.h"
#include "Screenshot.h"
#include "StillImage.h"
#include "UndoableDelete.h"
#include "WaitFor.h"

#include <QDesktopServices>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidgetAction>
#include <gtest/gtest.h>

namespace {

const QList<QColor> colors{QColor("#C0392B"), QColor("#27AE60"), QColor("#2980B9")};

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

class PostDetailViewTest : public LibraryFixture {
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

    // The view shown in an active window, so focus behaves as on screen.
    std::unique_ptr<PostDetailView> show(const std::shared_ptr<Post> &post)
    {
        auto view = std::make_unique<PostDetailView>(post, context, pendingDelete);
        view->resize(1100, 700);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        return view;
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

    static QToolButton *button(PostDetailView &view, const QString &name)
    {
        return view.toolbarAction()->defaultWidget()->findChild<QToolButton *>(name);
    }

    UndoableDelete pendingDelete;
};

TEST_F(PostDetailViewTest, ArrowKeysButtonsAndThumbnailsPageThroughPicturesAndStopAtBothEnds)
{
    auto view = show(postWithPictures());
    MediaPane *pane = view->mediaPane();
    auto *next = pane->findChild<QToolButton *>(QStringLiteral("nextMedia"));

    QTest::keyClick(view.get(), Qt::Key_Left);
    EXPECT_EQ(pane->index(), 0);
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(pane->index(), 1);
    EXPECT_TRUE(shows(*view, colors[1]));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("post-detail-image")));

    QTest::mouseClick(next, Qt::LeftButton);
    QTest::keyClick(view.get(), Qt::Key_Right);
    EXPECT_EQ(pane->index(), 2);

    const auto thumbs = pane->findChildren<MediaThumb *>();
    ASSERT_EQ(thumbs.size(), 3);
    QTest::mouseClick(thumbs[0], Qt::LeftButton);
    EXPECT_TRUE(shows(*view, colors[0]));
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
    QTest::keyClick(view.get(), Qt::Key_Right);
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

TEST_F(PostDetailViewTest, PostDeletedWhileShownGivesWayToTheDeletedPage)
{
    auto post = postWithPictures();
    auto view = show(post);
    context.remove(post);
    save();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isDeletedPageShown(); }, 10000));
    QSignalSpy toasts(view.get(), &PostDetailView::toastRequested);
    QTest::keyClick(view.get(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(toasts.isEmpty());
}

} // namespace

#include "PostDetailViewTest.moc"
