#include "PostMenu.h"

#include "AuthorGroup.h"
#include "LibraryFixture.h"
#include "Pasteboard.h"
#include "UndoableDelete.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QUrl>

namespace {

// Receives the links the menu hands to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    LinkCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~LinkCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class PostMenuTest : public LibraryFixture {
protected:
    // The entry showing that text, as the menu draws it.
    static QAction *entry(const QMenu &menu, const QString &text)
    {
        for (QAction *action : menu.actions()) {
            if (action->iconText() == text)
                return action;
        }
        return nullptr;
    }

    UndoableDelete pendingDelete;
};

TEST_F(PostMenuTest, EntriesFollowThePost)
{
    // A synced local link is copied and parsed again, but never opened.
    auto failed = addPost(QStringLiteral("f"));
    failed->setParseState(ParseState::failed);
    failed->setSourceURL(QStringLiteral("file:///etc/passwd"));
    PostMenu failedMenu(failed, context, pendingDelete);
    EXPECT_FALSE(entry(failedMenu, QStringLiteral("打开原文")));
    EXPECT_TRUE(entry(failedMenu, QStringLiteral("复制链接")));

    context.remove(failed);
    EXPECT_TRUE(PostMenu(failed, context, pendingDelete).actions().isEmpty());
}

TEST_F(PostMenuTest, ActionsOpenCopyTagAndDelete)
{
    auto post = addPost(QStringLiteral("p"));
    auto cat = addTag(QStringLiteral("猫"));
    save();
    LinkCatcher catcher;
    PostMenu menu(post, context, pendingDelete);

    entry(menu, QStringLiteral("打开原文"))->trigger();
    EXPECT_EQ(catcher.opened, QList<QUrl>({QUrl(post->sourceURL())}));
    entry(menu, QStringLiteral("复制链接"))->trigger();
    EXPECT_EQ(Pasteboard::general().plainText(), post->sourceURL());

    QMenu *tags = entry(menu, QStringLiteral("标签"))->menu();
    entry(*tags, QStringLiteral("猫"))->trigger();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>({cat}));
    EXPECT_FALSE(context.hasChanges()) << "saved at once";

    entry(menu, QStringLiteral("删除"))->trigger();
    EXPECT_TRUE(pendingDelete.isHidden(*post));
    EXPECT_FALSE(post->isGone()) << "gone only when the undo time ends";
}

TEST_F(PostMenuTest, TagBoardAndAuthorNamesShowAsWritten)
{
    auto post = addPost(QStringLiteral("p"), Platform::weibo, QStringLiteral("Tom & Jerry"));
    auto tag = addTag(QStringLiteral("R&D"));
    addBoard(QStringLiteral("Q&A"));
    save();
    PostMenu menu(post, context, pendingDelete);
    QAction *tagEntry = entry(*entry(menu, QStringLiteral("标签"))->menu(), QStringLiteral("R&D"));
    ASSERT_TRUE(tagEntry);
    EXPECT_TRUE(entry(*entry(menu, QStringLiteral("合集"))->menu(), QStringLiteral("Q&A")));
    EXPECT_TRUE(entry(menu, QStringLiteral("设为星标博主「Tom & Jerry」")));
    tagEntry->trigger();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>({tag}));
}

TEST_F(PostMenuTest, StarringToastsThePersonsNameAndNotForAnUnstorableName)
{
    auto post = addPost(QStringLiteral("p"), Platform::weibo, QStringLiteral("lin_official"));
    auto group = std::make_shared<AuthorGroup>(QStringLiteral("林一"),
                                               QList<AuthorAccount>{AuthorAccount::fromPost(*post)});
    context.insert(group);
    save();
    PostMenu menu(post, context, pendingDelete);
    QSignalSpy toasts(&menu, &PostMenu::toastRequested);
    entry(menu, QStringLiteral("设为星标博主「林一」"))->trigger();
    ASSERT_EQ(toasts.size(), 1);
    EXPECT_EQ(toasts.last().first().toString(), QStringLiteral("已设为星标博主「林一」"));
    EXPECT_TRUE(group->starred());

    auto broken = addPost(QStringLiteral("b"), Platform::x, QStringLiteral("two\nlines"));
    PostMenu brokenMenu(broken, context, pendingDelete);
    QSignalSpy none(&brokenMenu, &PostMenu::toastRequested);
    entry(brokenMenu, QStringLiteral("设为星标博主「two\nlines」"))->trigger();
    EXPECT_TRUE(none.isEmpty()) << "no person can hold that name, so nothing was starred";
}

} // namespace

#include "PostMenuTest.moc"
