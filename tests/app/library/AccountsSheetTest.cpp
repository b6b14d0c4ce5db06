#include "AccountsSheet.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorHeader.h"
#include "AuthorMerge.h"
#include "LibraryFixture.h"
#include "Screenshot.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

class AccountsSheetTest : public LibraryFixture {
protected:
    AuthorAccount author(Platform platform, const QString &name, int posts = 1)
    {
        for (int index = 0; index < posts; ++index)
            addPost(name, platform, name);
        return {platform, name};
    }

    static void choose(QToolButton *button, const QString &text)
    {
        for (QAction *action : button->menu()->actions()) {
            if (action->text() == text)
                action->trigger();
        }
        QCoreApplication::processEvents();
    }
};

TEST_F(AccountsSheetTest, MakesAnotherAccountMainAndTakesOneOut)
{
    const AuthorAccount first = author(Platform::weibo, QStringLiteral("一号"), 3);
    const AuthorAccount second = author(Platform::x, QStringLiteral("二号"));
    const AuthorAccount third = author(Platform::douyin, QStringLiteral("三号"), 2);
    save();
    AuthorMerge::merge(second, first, context);
    AuthorMerge::merge(third, first, context);

    AccountsSheet sheet(first, context);
    EXPECT_EQ(sheet.shownAccounts(), QList<AuthorAccount>({first, second, third}));
    sheet.resize(480, 560);
    sheet.show();
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(sheet, QStringLiteral("accounts-sheet")));

    choose(sheet.accountMenu(2), QStringLiteral("设为主号"));
    EXPECT_EQ(sheet.shownAccounts(), QList<AuthorAccount>({third, first, second}));
    EXPECT_EQ(AuthorDirectory(context).group(first)->main(), third);

    const AuthorAccount pairMain = author(Platform::bilibili, QStringLiteral("甲"));
    const AuthorAccount pairAlt = author(Platform::weibo, QStringLiteral("乙"));
    save();
    AuthorMerge::merge(pairAlt, pairMain, context);
    AccountsSheet pair(pairMain, context);
    choose(pair.accountMenu(1), QStringLiteral("移出"));
    EXPECT_FALSE(AuthorDirectory(context).group(pairMain)) << "a pair without a star dissolves";
    EXPECT_EQ(pair.shownAccounts(), QList<AuthorAccount>({pairMain}));
}

TEST_F(AccountsSheetTest, OffersSixtyPersonsAndSearchesTrimmedInAnyCase)
{
    const AuthorAccount me = author(Platform::weibo, QStringLiteral("me"));
    for (int index = 0; index < 74; ++index)
        author(Platform::douyin, QStringLiteral("person%1").arg(index, 2, 10, QLatin1Char('0')));
    const AuthorAccount zhang = author(Platform::x, QStringLiteral("ZhangWei"), 2);
    const AuthorAccount zhangAlt = author(Platform::bilibili, QStringLiteral("小张"));
    save();
    AuthorMerge::merge(zhangAlt, zhang, context);
    AuthorDirectory(context).group(zhang)->setName(QStringLiteral("张先生"));
    save();

    AccountsSheet sheet(me, context);
    EXPECT_EQ(sheet.candidates().size(), AccountsSheet::candidateLimit) << "75 other persons";
    EXPECT_FALSE(sheet.candidates().contains(me));
    QTest::keyClicks(sheet.searchField(), QStringLiteral("  zhangwei\t"));
    ASSERT_EQ(sheet.candidates(), QList<AuthorAccount>({zhang})) << "an account name matches the person";

    sheet.searchField()->setText(QStringLiteral("张"));
    QSignalSpy toasts(&sheet, &AccountsSheet::toastRequested);
    sheet.addButton(0)->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(toasts.size(), 1);
    EXPECT_EQ(sheet.shownAccounts(), QList<AuthorAccount>({me, zhang, zhangAlt})) << "this person stays main";
}

TEST_F(AccountsSheetTest, OpensFromTheHeaderAndRefusesALineBreak)
{
    const AuthorAccount me = author(Platform::weibo, QStringLiteral("me"));
    author(Platform::x, QStringLiteral("two\nlines"));
    save();
    AuthorHeader header(me, context);
    header.manageButton()->click();
    auto sheet = header.findChild<AccountsSheet *>();
    ASSERT_TRUE(sheet);
    QSignalSpy toasts(sheet, &AccountsSheet::toastRequested);
    ASSERT_EQ(sheet->candidates().size(), 1);
    sheet->addButton(0)->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(toasts.isEmpty()) << "nothing was added, so nothing says so";
    EXPECT_EQ(sheet->shownAccounts(), QList<AuthorAccount>({me}));
}

// Opened over the person's page, the sheet shows its form down to the
// footnote without scrolling, centred over the page at the height it opened
// at; with more than the screen holds, it stops at the screen's height and
// scrolls, wholly on the screen.
TEST_F(AccountsSheetTest, OpensTallEnoughForTheFootnoteCentredButNoTallerThanTheScreen)
{
    const AuthorAccount me = author(Platform::weibo, QStringLiteral("一号"), 3);
    AuthorMerge::merge(author(Platform::x, QStringLiteral("二号")), me, context);
    AuthorMerge::merge(author(Platform::douyin, QStringLiteral("三号"), 2), me, context);
    const auto addCandidates = [&](int count) {
        for (int index = 0; index < count; ++index)
            author(Platform::bilibili, QStringLiteral("候选%1").arg(context.fetch<Post>().size()));
        save();
    };
    AuthorHeader header(me, context);
    // Room all around the page, so a centred sheet is on the screen.
    header.setGeometry(QGuiApplication::primaryScreen()->availableGeometry().adjusted(60, 50, -40, -50));
    header.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&header));
    const auto openSheet = [&] {
        QTest::mouseClick(header.manageButton(), Qt::LeftButton);
        auto *sheet = header.findChild<AccountsSheet *>();
        EXPECT_TRUE(sheet && QTest::qWaitForWindowExposed(sheet));
        return sheet;
    };

    addCandidates(6);
    AccountsSheet *sheet = openSheet();
    ASSERT_TRUE(sheet);
    auto *scroller = sheet->findChild<QScrollArea *>();
    QLabel *footnote = nullptr;
    for (QLabel *label : sheet->findChildren<QLabel *>())
        if (label->text().startsWith(QStringLiteral("小号的收藏")))
            footnote = label;
    ASSERT_TRUE(footnote);
    const QRect footnoteShown(footnote->mapTo(scroller->viewport(), QPoint()), footnote->size());
    EXPECT_TRUE(scroller->viewport()->rect().contains(footnoteShown));
    EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
    const QPointF sheetCentre = QRectF(sheet->frameGeometry()).center();
    const QPointF pageCentre = QRectF(header.frameGeometry()).center();
    EXPECT_NEAR(sheetCentre.x(), pageCentre.x(), 1);
    EXPECT_NEAR(sheetCentre.y(), pageCentre.y(), 1);
    EXPECT_TRUE(saveScreenshot(*sheet, QStringLiteral("accounts-sheet-fitted")));
    sheet->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !header.findChild<AccountsSheet *>(); }));

    addCandidates(30);
    sheet = openSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->screen()->availableGeometry().contains(sheet->frameGeometry()))
        << testing::PrintToString(QRectF(sheet->frameGeometry()));
    EXPECT_GT(sheet->findChild<QScrollArea *>()->verticalScrollBar()->maximum(), 0);
}

} // namespace
