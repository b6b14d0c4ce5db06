#include "AuthorHeader.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorIndex.h"
#include "AuthorMerge.h"
#include "FilterChip.h"
#include "LibraryFixture.h"
#include "LibraryView.h"
#include "Masonry.h"
#include "Motion.h"
#include "Screenshot.h"
#include "StarAuthorButton.h"
#include "SteppedMotions.h"
#include "Symbol.h"
#include "Theme.h"
#include "UndoableDelete.h"

#include <QAccessible>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

using AuthorHeaderTest = LibraryFixture;

QImage iconOf(const StarAuthorButton &button)
{
    return button.icon().pixmap(QSize(18, 18), 2.0).toImage();
}

QImage symbolImage(const QString &name, const QColor &color)
{
    return Symbol::pixmap(name, 18, color, 1, 2).toImage();
}

TEST_F(AuthorHeaderTest, IndexCountsPersonsAndPicksTheNewestAvatar)
{
    const AuthorAccount lin(Platform::weibo, QStringLiteral("lin"));
    const AuthorAccount alt(Platform::x, QStringLiteral("lin_x"));
    for (int index = 0; index < 3; ++index)
        addPost(QStringLiteral("w"), Platform::weibo, lin.name());
    addPost(QStringLiteral("a"), Platform::x, alt.name())->setIsArchived(true);
    addPost(QStringLiteral("p"), Platform::x, alt.name())->setIsPrivate(true);
    auto old = addPost(QStringLiteral("old"), Platform::x, alt.name());
    old->setAuthorAvatarURL(QStringLiteral("https://a/old.jpg"));
    auto recent = addPost(QStringLiteral("new"), Platform::x, alt.name());
    recent->setAuthorAvatarURL(QStringLiteral("https://a/new.jpg"));
    addPost(QStringLiteral("anon"), Platform::douyin, QString());
    save();

    const AuthorIndex index(context.fetch<Post>());
    EXPECT_EQ(index.count(alt), 3) << "archived posts count, private ones do not";
    EXPECT_EQ(index.avatar({lin, alt}), QStringLiteral("https://a/new.jpg"));
    auto group = std::make_shared<AuthorGroup>(QStringLiteral("林"), QList<AuthorAccount>{lin, alt});
    context.insert(group);
    const auto people = index.people(AuthorDirectory(QList{group}));
    ASSERT_EQ(people.size(), 1) << "a post without an author makes no person";
    EXPECT_EQ(people[0].count, 6);
}

TEST_F(AuthorHeaderTest, ChipsNarrowThePageAndMergeSuggestionsJoin)
{
    const AuthorAccount weibo(Platform::weibo, QStringLiteral("阿林"));
    const AuthorAccount x(Platform::x, QStringLiteral("阿林"));
    addPost(QStringLiteral("w1"), Platform::weibo, weibo.name());
    addPost(QStringLiteral("x1"), Platform::x, x.name());
    save();
    UndoableDelete pendingDelete;
    LibraryView view(context, pendingDelete, SidebarItem::author(weibo));
    view.resize(746, 600);
    AuthorHeader *header = view.authorHeader();
    ASSERT_TRUE(header);
    ASSERT_EQ(header->mergeButtons().size(), 1);

    header->mergeButtons()[0]->click();
    QCoreApplication::processEvents();
    header = view.authorHeader();
    ASSERT_EQ(header->chips().size(), 3);
    QTest::mouseClick(header->chips()[2], Qt::LeftButton);
    EXPECT_EQ(view.accountFilter(), x);
    EXPECT_EQ(view.unfiltered().size(), 1);
    QTest::mouseClick(header->chips()[2], Qt::LeftButton);
    EXPECT_FALSE(view.accountFilter()) << "the chosen chip again goes back to all";
    view.show();
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(view, QStringLiteral("library-author-header")));
}

// What a screen reader reads is what the control shows.
QString shownText(QWidget *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

TEST_F(AuthorHeaderTest, AnAmpersandInANameIsShownAsWrittenAndPressesNothing)
{
    const AuthorAccount weibo(Platform::weibo, QStringLiteral("R&D"));
    const AuthorAccount x(Platform::x, QStringLiteral("R&D"));
    const AuthorAccount douyin(Platform::douyin, QStringLiteral("A&B"));
    const AuthorAccount lab(Platform::bilibili, QStringLiteral("Lab"));
    for (const AuthorAccount &account : {weibo, x, douyin, lab})
        addPost(account.name(), account.platform(), account.name());
    save();
    ASSERT_TRUE(AuthorMerge::merge(lab, douyin, context));
    UndoableDelete pendingDelete;
    // The page on screen, the keyboard in its grid after a click there.
    const auto showPage = [](LibraryView &view) {
        view.resize(746, 600);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&view));
        auto *grid = view.findChild<Masonry *>();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          QPoint(grid->viewport()->width() - 4, grid->viewport()->height() - 4));
        EXPECT_TRUE(QApplication::focusWidget());
    };

    // A shortcut presses its button at once and clicks it a moment later.
    LibraryView lone(context, pendingDelete, SidebarItem::author(weibo));
    showPage(lone);
    ASSERT_EQ(lone.authorHeader()->mergeButtons().size(), 1);
    QToolButton *merge = lone.authorHeader()->mergeButtons()[0];
    EXPECT_EQ(shownText(merge), QStringLiteral("合并 X·R&D"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    EXPECT_FALSE(merge->isDown()) << "Alt+D pressed the merge button";
    lone.close();

    LibraryView pair(context, pendingDelete, SidebarItem::author(douyin));
    showPage(pair);
    const QList<FilterChip *> chips = pair.authorHeader()->chips();
    ASSERT_EQ(chips.size(), 3);
    EXPECT_EQ(shownText(chips[1]), QStringLiteral("A&B 1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    EXPECT_FALSE(chips[1]->isDown()) << "Alt+B pressed the account's chip";
    EXPECT_TRUE(saveScreenshot(pair, QStringLiteral("library-author-ampersand")));
}

// Painted, the name matches the same name drawn as plain text on a chip
// without one: its "&" neither doubled nor taken for a shortcut's mark.
TEST_F(AuthorHeaderTest, AChipPaintsAnAmpersandAsWritten)
{
    const QMargins padding(10, 5, 10, 5);
    const Theme::Color text = Theme::text();
    const FilterChip::Style style{10, padding, Theme::accent(), text, Theme::placeholder(), text};
    FilterChip named(QStringLiteral("R&D"), std::nullopt, std::nullopt, style);
    named.resize(named.sizeHint());
    FilterChip blank(QString(), std::nullopt, std::nullopt, style);
    blank.resize(named.size());
    QPixmap asWritten = blank.grab();
    QPainter painter(&asWritten);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(named.font());
    painter.setPen(text.resolved());
    painter.drawText(QRectF(named.rect()).marginsRemoved(padding.toMarginsF()),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("R&D"));
    painter.end();
    EXPECT_EQ(named.grab().toImage(), asWritten.toImage());
}

TEST_F(AuthorHeaderTest, ANameThatLooksLikeMarkupIsShownAsWritten)
{
    const QString name = QStringLiteral("Sam <i>Lee</i> <img src=x>");
    const AuthorAccount sam(Platform::x, name);
    addPost(QStringLiteral("帖子"), sam.platform(), sam.name());
    save();
    UndoableDelete pendingDelete;
    LibraryView page(context, pendingDelete, SidebarItem::author(sam));
    const QList<QLabel *> labels = page.authorHeader()->findChildren<QLabel *>();
    const auto title =
        std::find_if(labels.cbegin(), labels.cend(), [&](QLabel *l) { return l->text() == name; });
    ASSERT_NE(title, labels.cend());
    EXPECT_GE((*title)->sizeHint().width(), (*title)->fontMetrics().horizontalAdvance(name))
        << "the name was drawn as markup";
}

TEST_F(AuthorHeaderTest, ALoneAccountJoinsANamedPersonAndALineBreakNeverMerges)
{
    const AuthorAccount lone(Platform::douyin, QStringLiteral("小林"));
    const AuthorAccount grouped(Platform::weibo, QStringLiteral("小林"));
    const AuthorAccount other(Platform::x, QStringLiteral("kobayashi"));
    addPost(QStringLiteral("d"), Platform::douyin, lone.name());
    addPost(QStringLiteral("w"), Platform::weibo, grouped.name());
    save();
    ASSERT_TRUE(AuthorMerge::merge(other, grouped, context));
    AuthorDirectory(context).group(grouped)->setName(QStringLiteral("林先生"));
    save();

    AuthorHeader header(lone, context);
    ASSERT_EQ(header.mergeButtons().size(), 1);
    header.mergeButtons()[0]->click();
    EXPECT_EQ(AuthorDirectory(context).accounts(lone), QList<AuthorAccount>({grouped, other, lone}));

    const AuthorAccount broken(Platform::x, QStringLiteral("two\nlines"));
    const AuthorAccount twin(Platform::weibo, QStringLiteral("two\nlines"));
    addPost(QStringLiteral("b"), Platform::x, broken.name());
    addPost(QStringLiteral("t"), Platform::weibo, twin.name());
    save();
    AuthorHeader brokenHeader(broken, context);
    QSignalSpy toasts(&brokenHeader, &AuthorHeader::toastRequested);
    for (QToolButton *button : brokenHeader.mergeButtons())
        button->click();
    EXPECT_TRUE(toasts.isEmpty()) << "nothing was merged, so nothing says so";
    EXPECT_EQ(brokenHeader.name(), broken.name());
}

TEST_F(AuthorHeaderTest, TheStarTurnsIntoTheOtherOneOnAClickAndOnAChangeFromElsewhere)
{
    const SteppedMotions stepped;
    const AuthorAccount lin(Platform::weibo, QStringLiteral("林"));
    addPost(QStringLiteral("w"), lin.platform(), lin.name());
    save();
    UndoableDelete pendingDelete;
    LibraryView view(context, pendingDelete, SidebarItem::author(lin));
    view.resize(746, 600);
    view.show();
    auto *star = view.authorHeader()->findChild<StarAuthorButton *>();
    ASSERT_TRUE(star);
    const QImage hollow = symbolImage(QStringLiteral("star"), Theme::secondaryText(QApplication::palette()));
    const QImage filled = symbolImage(QStringLiteral("star.fill"), QColor(255, 204, 0));
    EXPECT_EQ(iconOf(*star), hollow);

    QTest::mouseClick(star, Qt::LeftButton);
    EXPECT_TRUE(StarAuthorButton::isStarred(lin, context));
    Motion &replace = star->replaceMotion();
    EXPECT_EQ(replace.state(), QAbstractAnimation::Running);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.authorHeader()->findChild<StarAuthorButton *>(), star) << "the header kept its button";
    replace.setCurrentTime(replace.duration() / 10);
    const QImage shrinking = iconOf(*star);
    EXPECT_NE(shrinking, hollow);
    EXPECT_NE(shrinking, filled);
    replace.finish();
    EXPECT_EQ(iconOf(*star), filled);

    // Taken away by a sync or another view: the same change, seen here.
    AuthorMerge::setStarred(lin, false, context);
    QCoreApplication::processEvents();
    EXPECT_EQ(replace.state(), QAbstractAnimation::Running);
    replace.finish();
    EXPECT_EQ(iconOf(*star), hollow);
}

} // namespace
