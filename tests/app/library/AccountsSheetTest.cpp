#include "AccountsSheet.h"

#include "AuthorDirectory.h"
#include "AuthorGroup.h"
#include "AuthorHeader.h"
#include "AuthorMerge.h"
#include "LibraryFixture.h"
#include "Screenshot.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
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

    static QStringList menuTexts(QToolButton *button)
    {
        QStringList texts;
        for (QAction *action : button->menu()->actions())
            texts << action->text();
        return texts;
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
    EXPECT_TRUE(sheet.mainTagShown());
    EXPECT_TRUE(sheet.nameField()->isVisibleTo(&sheet));
    EXPECT_EQ(sheet.nameField()->placeholderText(), first.name());
    EXPECT_EQ(menuTexts(sheet.accountMenu(0)), QStringList({"移出"}));
    EXPECT_EQ(menuTexts(sheet.accountMenu(1)), QStringList({"设为主号", "移出"}));
    sheet.resize(480, 560);
    sheet.show();
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(sheet, QStringLiteral("accounts-sheet")));

    choose(sheet.accountMenu(2), QStringLiteral("设为主号"));
    EXPECT_EQ(sheet.shownAccounts(), QList<AuthorAccount>({third, first, second}));
    EXPECT_EQ(AuthorDirectory(context).group(first)->main(), third);

    EXPECT_EQ(sheet.nameField()->text(), first.name()) << "a new group is named after its main account";
    sheet.nameField()->selectAll();
    QInputMethodEvent typing;
    typing.setCommitString(QStringLiteral("小号们"));
    QCoreApplication::sendEvent(sheet.nameField(), &typing);
    EXPECT_EQ(AuthorDirectory(context).group(first)->name(), QStringLiteral("小号们"));

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
    sheet.show();
    QTest::qWait(50);
    EXPECT_TRUE(saveScreenshot(sheet, QStringLiteral("accounts-sheet-candidates")));
    QTest::keyClicks(sheet.searchField(), QStringLiteral("  zhangwei\t"));
    ASSERT_EQ(sheet.candidates(), QList<AuthorAccount>({zhang})) << "an account name matches the person";
    sheet.searchField()->setText(QStringLiteral("person1"));
    EXPECT_EQ(sheet.candidates().size(), 10) << "narrowed before the limit";

    sheet.searchField()->setText(QStringLiteral("张"));
    QSignalSpy toasts(&sheet, &AccountsSheet::toastRequested);
    sheet.addButton(0)->click();
    QCoreApplication::processEvents();
    ASSERT_EQ(toasts.size(), 1);
    EXPECT_EQ(toasts[0][0].toString(), QStringLiteral("已添加「张先生」"));
    EXPECT_EQ(sheet.shownAccounts(), QList<AuthorAccount>({me, zhang, zhangAlt})) << "this person stays main";
    EXPECT_TRUE(sheet.candidates().isEmpty());
}

TEST_F(AccountsSheetTest, OpensFromTheHeaderRefusesALineBreakAndCloses)
{
    const AuthorAccount me = author(Platform::weibo, QStringLiteral("me"));
    author(Platform::x, QStringLiteral("two\nlines"));
    save();
    AuthorHeader header(me, context);
    header.manageButton()->click();
    auto sheet = header.findChild<AccountsSheet *>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(sheet->nameField()->isVisibleTo(sheet)) << "no group yet";
    EXPECT_FALSE(sheet->accountMenu(0));

    QSignalSpy toasts(sheet, &AccountsSheet::toastRequested);
    ASSERT_EQ(sheet->candidates().size(), 1);
    sheet->addButton(0)->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(toasts.isEmpty()) << "nothing was added, so nothing says so";
    EXPECT_EQ(sheet->shownAccounts(), QList<AuthorAccount>({me}));

    QTest::keyClick(sheet, Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
}

} // namespace
