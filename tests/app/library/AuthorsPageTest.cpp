#include "AuthorsPage.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorIcon.h"
#include "AuthorMerge.h"
#include "ElidedLabel.h"
#include "FilterChip.h"
#include "FixtureServer.h"
#include "LibraryFixture.h"
#include "PersonEntry.h"
#include "Screenshot.h"
#include "SidebarItem.h"
#include "StarredOrderSheet.h"
#include "StarredStrip.h"
#include "UndoableDelete.h"

#include <QListWidget>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

class AuthorsPageTest : public LibraryFixture {
protected:
    void addPosts(const AuthorAccount &account, int count)
    {
        for (int index = 0; index < count; ++index)
            addPost(account.name(), account.platform(), account.name());
    }

    static QStringList names(const QList<PersonEntry *> &entries)
    {
        QStringList result;
        for (PersonEntry *entry : entries)
            result << entry->account().name();
        return result;
    }

    static void settle() { QCoreApplication::processEvents(); }

    static QAction *onlyAction(PersonEntry *entry) { return entry->menu()->actions().value(0); }

    // The page as the organize screen shows it: in a scrolling area.
    static void shoot(AuthorsPage &page, const QString &name)
    {
        QScrollArea area;
        area.setWidgetResizable(true);
        area.resize(760, 560);
        area.setWidget(&page);
        area.show();
        QTest::qWait(50);
        EXPECT_TRUE(saveScreenshot(area, name));
        area.takeWidget();
    }

    UndoableDelete pendingDelete;
};

TEST_F(AuthorsPageTest, RanksPersonsByCountThenNameAndFilters)
{
    const AuthorAccount lin(Platform::weibo, QStringLiteral("lin"));
    const AuthorAccount linX(Platform::x, QStringLiteral("lin_x"));
    addPosts(lin, 3);
    addPosts(linX, 2);
    addPosts({Platform::douyin, QStringLiteral("Zed")}, 2);
    addPosts({Platform::weibo, QStringLiteral("alice")}, 2);
    addPosts({Platform::bilibili, QStringLiteral("Bob")}, 2);
    addPost(QStringLiteral("a"), Platform::xiaohongshu, QStringLiteral("shelved"))->setIsArchived(true);
    addPost(QStringLiteral("p"), Platform::instagram, QStringLiteral("hidden"))->setIsPrivate(true);
    auto doomed = addPost(QStringLiteral("d"), Platform::threads, QStringLiteral("doomed"));
    save();
    ASSERT_TRUE(AuthorMerge::merge(linX, lin, context));
    AuthorDirectory(context).group(lin)->setName(QStringLiteral("林"));
    save();
    pendingDelete.start({doomed}, 5);

    AuthorsPage page(context, pendingDelete);
    settle();
    EXPECT_EQ(names(page.otherEntries()), QStringList({"lin", "Bob", "Zed", "alice", "shelved"}))
        << "a group sums its accounts; equal counts by name, upper case first; archived counts";

    QTest::mouseClick(page.chips()[4], Qt::LeftButton);
    EXPECT_EQ(page.platformFilter(), Platform::x);
    EXPECT_EQ(names(page.otherEntries()), QStringList({"lin"})) << "a person's other accounts count";
    QTest::mouseClick(page.chips()[0], Qt::LeftButton);
    page.setSearch(QStringLiteral(" \tLIN_x "));
    EXPECT_EQ(names(page.otherEntries()), QStringList({"lin"})) << "trimmed, any case, account names too";

    QList<SidebarItem> opened;
    QObject::connect(&page, &AuthorsPage::itemActivated,
                     [&opened](const SidebarItem &item) { opened << item; });
    QTest::mouseClick(page.otherEntries()[0], Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], SidebarItem::author(lin)) << "the main account's page";
}

TEST_F(AuthorsPageTest, StarredPersonsLeadAndReorderByKeyboard)
{
    const QList<AuthorAccount> people{{Platform::weibo, QStringLiteral("ann")},
                                      {Platform::douyin, QStringLiteral("ben")},
                                      {Platform::x, QStringLiteral("cat")}};
    for (int index = 0; index < people.size(); ++index)
        addPosts(people[index], index + 1);
    save();
    AuthorsPage page(context, pendingDelete);
    onlyAction(page.otherEntries()[2])->trigger();
    settle();
    EXPECT_EQ(names(page.starredEntries()), QStringList({"ann"}));

    AuthorMerge::setStarred(people[1], true, context);
    AuthorMerge::setStarred(people[2], true, context);
    AuthorMerge::reorderStarred(people, context);
    settle();

    StarredStrip strip(context);
    page.reorderButton()->click();
    auto sheet = page.findChild<StarredOrderSheet *>();
    ASSERT_TRUE(sheet);
    sheet->list()->setCurrentRow(0);
    QTest::keyClick(sheet->list(), Qt::Key_Down, Qt::AltModifier);
    settle();
    const QList<AuthorAccount> moved{people[1], people[0], people[2]};
    EXPECT_EQ(strip.accounts(), moved) << "the strip above the library follows";
    EXPECT_EQ(names(page.starredEntries()), QStringList({"ben", "ann", "cat"}));
    EXPECT_TRUE(saveScreenshot(*sheet, QStringLiteral("starred-order-sheet")));
}

TEST_F(AuthorsPageTest, AnUnnamedGroupKeepsItsMainAccountsName)
{
    // Many groups, so a name that depends on the hash's visiting order would
    // show on at least one of them.
    for (int index = 0; index < 24; ++index) {
        const AuthorAccount main(Platform::weibo, QStringLiteral("main%1").arg(index));
        const AuthorAccount alt(Platform::x, QStringLiteral("alt%1").arg(index));
        addPosts(main, 1);
        addPosts(alt, 2);
        context.insert(std::make_shared<AuthorGroup>(QString(), QList<AuthorAccount>{main, alt}));
    }
    save();
    const auto people = AuthorIndex(context.fetch<Post>()).people(AuthorDirectory(context));
    ASSERT_EQ(people.size(), 24);
    for (const AuthorIndex::Person &person : people)
        EXPECT_EQ(person.name, person.main.name());
}

TEST_F(AuthorsPageTest, BadAvatarsKeepTheBadgeAndLongNamesStayOnOneLine)
{
    FixtureServer server;
    const QString address = QStringLiteral("127.0.0.9");
    server.serve(address, QStringLiteral("/good.jpg"), {200, TestImages::encoded(80, 80, Qt::red), {}});
    server.serve(address, QStringLiteral("/text"), {200, "not a picture", {}});
    server.serve(address, QStringLiteral("/endless"),
                 {200, QByteArray(4096, 'x'), {}, {}, false, std::chrono::milliseconds(200)});
    const QStringList links{server.url(address, QStringLiteral("/good.jpg")).toString(),
                            server.url(address, QStringLiteral("/text")).toString(),
                            server.url(address, QStringLiteral("/missing")).toString(),
                            server.url(address, QStringLiteral("/endless")).toString(),
                            QStringLiteral("file:///etc/passwd"),
                            QStringLiteral("data:image/png;base64,iVBORw0KGgo=")};
    for (int index = 0; index < links.size(); ++index)
        addPost(QStringLiteral("p"), Platform::weibo, QStringLiteral("author%1").arg(index))
            ->setAuthorAvatarURL(links[index]);
    const QString longName = QStringLiteral("长").repeated(499) + QStringLiteral("\n");
    addPost(QStringLiteral("long"), Platform::x, longName);
    addPost(QStringLiteral("break"), Platform::x, QStringLiteral("two\nlines"));
    save();
    AuthorMerge::setStarred({Platform::x, longName}, true, context);

    AuthorsPage page(context, pendingDelete);
    const QList<AuthorIcon *> icons = page.findChildren<AuthorIcon *>();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(icons.cbegin(), icons.cend(),
                               [](auto *icon) { return !icon->image().isNull(); });
        },
        10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.requests().size() >= 4; }, 10000));
    settle();
    for (AuthorIcon *icon : icons)
        EXPECT_EQ(icon->image().isNull(), icon->url() != links[0]) << qPrintable(icon->url());
    EXPECT_TRUE(std::none_of(server.requests().cbegin(), server.requests().cend(),
                             [](const auto &request) { return request.target.contains("passwd"); }));

    ASSERT_EQ(page.starredEntries().size(), 1);
    shoot(page, QStringLiteral("organize-authors"));
    for (ElidedLabel *label : page.findChildren<ElidedLabel *>()) {
        EXPECT_FALSE(label->shownText().contains(QLatin1Char('\n')));
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->shownText()), label->width());
    }
}

} // namespace
