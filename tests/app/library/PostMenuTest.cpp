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
    static QStringList entries(const QMenu &menu)
    {
        QStringList result;
        for (QAction *action : menu.actions())
            result << (action->isSeparator() ? QStringLiteral("—") : action->text());
        return result;
    }

    static QAction *entry(const QMenu &menu, const QString &text)
    {
        for (QAction *action : menu.actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    UndoableDelete pendingDelete;
};

TEST_F(PostMenuTest, EntriesFollowThePost)
{
    auto note = addPost(QString(), Platform::local, QString());
    note->setSourceURL(QString());
    PostMenu noteMenu(note, context, pendingDelete);
    EXPECT_EQ(entries(noteMenu), QStringList({"标签", "合集", "归档", "移到隐私空间", "—", "删除"}));

    auto hidden = addPost(QStringLiteral("p"));
    hidden->setIsPrivate(true);
    hidden->setIsArchived(true);
    PostMenu privateMenu(hidden, context, pendingDelete);
    EXPECT_EQ(entries(privateMenu),
              QStringList({"打开原文", "复制链接", "重新解析", "—", "标签", "合集", "设为星标博主「林」",
                           "取消归档", "移出隐私空间", "—", "删除"}));

    // A synced local link is copied and parsed again, but never opened.
    auto failed = addPost(QStringLiteral("f"));
    failed->setParseState(ParseState::failed);
    failed->setSourceURL(QStringLiteral("file:///etc/passwd"));
    PostMenu failedMenu(failed, context, pendingDelete);
    EXPECT_FALSE(entry(failedMenu, QStringLiteral("打开原文")));
    EXPECT_TRUE(entry(failedMenu, QStringLiteral("复制链接")));
    QSignalSpy reparse(&failedMenu, &PostMenu::reparseRequested);
    entry(failedMenu, QStringLiteral("重新解析"))->trigger();
    ASSERT_EQ(reparse.size(), 1);

    context.remove(failed);
    EXPECT_TRUE(entries(PostMenu(failed, context, pendingDelete)).isEmpty());
}

TEST_F(PostMenuTest, ActionsOpenCopyFileArchiveAndDelete)
{
    auto post = addPost(QStringLiteral("p"));
    auto cat = addTag(QStringLiteral("猫"));
    addTag(QStringLiteral("狗"));
    save();
    LinkCatcher catcher;
    PostMenu menu(post, context, pendingDelete);
    QSignalSpy toasts(&menu, &PostMenu::toastRequested);

    entry(menu, QStringLiteral("打开原文"))->trigger();
    EXPECT_EQ(catcher.opened, QList<QUrl>({QUrl(post->sourceURL())}));
    entry(menu, QStringLiteral("复制链接"))->trigger();
    EXPECT_EQ(Pasteboard::general().plainText(), post->sourceURL());

    QMenu *tags = entry(menu, QStringLiteral("标签"))->menu();
    ASSERT_EQ(entries(*tags).size(), 2);
    entry(*tags, QStringLiteral("猫"))->trigger();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>({cat}));
    EXPECT_FALSE(context.hasChanges()) << "saved at once";
    entry(*tags, QStringLiteral("猫"))->trigger();
    EXPECT_TRUE(post->tags().isEmpty());

    entry(menu, QStringLiteral("归档"))->trigger();
    EXPECT_TRUE(post->isArchived());

    QSignalSpy moves(&menu, &PostMenu::privateRequested);
    entry(menu, QStringLiteral("移到隐私空间"))->trigger();
    ASSERT_EQ(moves.size(), 1);
    EXPECT_TRUE(moves.first().at(1).toBool());

    entry(menu, QStringLiteral("删除"))->trigger();
    EXPECT_TRUE(pendingDelete.isHidden(*post));
    EXPECT_FALSE(post->isGone()) << "gone only when the undo time ends";
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
    PostMenu again(post, context, pendingDelete);
    EXPECT_TRUE(entry(again, QStringLiteral("取消星标博主「林一」")));

    auto broken = addPost(QStringLiteral("b"), Platform::x, QStringLiteral("two\nlines"));
    PostMenu brokenMenu(broken, context, pendingDelete);
    QSignalSpy none(&brokenMenu, &PostMenu::toastRequested);
    entry(brokenMenu, QStringLiteral("设为星标博主「two\nlines」"))->trigger();
    EXPECT_TRUE(none.isEmpty()) << "no person can hold that name, so nothing was starred";
}

} // namespace

#include "PostMenuTest.moc"
