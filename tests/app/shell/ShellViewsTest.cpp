#include "AddLinkSheet.h"
#include "Motion.h"
#include "SteppedMotions.h"
#include "NavigationStack.h"
#include "Pasteboard.h"
#include "PrivateLockView.h"
#include "ProminentButton.h"
#include "Screenshot.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QPushButton *button(QWidget &parent, const QString &text)
{
    for (auto *candidate : parent.findChildren<QPushButton *>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

TEST(AddLinkSheetTest, PrefillsAShareTextWithALinkAndSavesItWhole)
{
    const QString share = QStringLiteral("周末去哪儿 🌿 http://xhslink.com/a/AbC123 复制本条信息");
    Pasteboard::general().setString(share);
    AddLinkSheet sheet;
    sheet.show();
    EXPECT_EQ(sheet.text(), share);
    EXPECT_TRUE(button(sheet, QStringLiteral("收藏"))->isEnabled());
    EXPECT_TRUE(qobject_cast<ProminentButton *>(button(sheet, QStringLiteral("收藏"))));
    EXPECT_TRUE(saveScreenshot(sheet, QStringLiteral("add-link-sheet")));

    QSignalSpy saved(&sheet, &AddLinkSheet::saveRequested);
    QTest::mouseClick(button(sheet, QStringLiteral("收藏")), Qt::LeftButton);
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.first().first().toString(), share);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

TEST(AddLinkSheetTest, TextWithoutALinkStaysOutAndEscapeSavesNothing)
{
    Pasteboard::general().setString(QStringLiteral("只是几句话，没有链接"));
    const int changes = Pasteboard::general().changeCount();
    AddLinkSheet sheet;
    sheet.show();
    EXPECT_TRUE(sheet.text().isEmpty());
    QPushButton *save = button(sheet, QStringLiteral("收藏"));
    EXPECT_FALSE(save->isEnabled());

    auto *editor = sheet.findChild<QPlainTextEdit *>();
    QTest::keyClicks(editor, QStringLiteral("https://weibo.com/12"));
    EXPECT_TRUE(save->isEnabled());
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("ftp://example.com/a"));
    EXPECT_FALSE(save->isEnabled());

    QSignalSpy saved(&sheet, &AddLinkSheet::saveRequested);
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(sheet.result(), QDialog::Rejected);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_EQ(Pasteboard::general().changeCount(), changes);
}

TEST(AddLinkSheetTest, ReturnSavesOnceALinkIsFoundAndShiftReturnBreaksTheLine)
{
    Pasteboard::general().setString(QString());
    AddLinkSheet sheet;
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    QSignalSpy saved(&sheet, &AddLinkSheet::saveRequested);
    const auto type = [](const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); };
    const auto press = [](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, modifiers);
    };

    type(QStringLiteral("look"));
    press();
    // A sheet that closed here would hand the next keys to no widget at all.
    ASSERT_EQ(saved.count(), 0) << "Return saved a text without a link";
    ASSERT_TRUE(sheet.isVisible());
    press(Qt::ControlModifier);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.text(), QStringLiteral("look")) << "no link: Return adds no line either";

    press(Qt::ShiftModifier);
    type(QStringLiteral("https://weibo.com/12"));
    const QString twoLines = QStringLiteral("look\nhttps://weibo.com/12");
    EXPECT_EQ(sheet.text(), twoLines);
    EXPECT_EQ(saved.count(), 0);
    press();
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved.first().first().toString(), twoLines);
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
}

// A link has no use for tab characters: Tab takes the keyboard on to the
// buttons, left to right.
TEST(AddLinkSheetTest, TabLeavesTheFieldForTheButtonsAndShiftTabComesBack)
{
    Pasteboard::general().setString(QString());
    AddLinkSheet sheet;
    sheet.show();
    sheet.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&sheet));
    auto *editor = sheet.findChild<QPlainTextEdit *>();
    QTest::mouseClick(editor->viewport(), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("https://weibo.com/12"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(sheet.text(), QStringLiteral("https://weibo.com/12"));
    EXPECT_EQ(QApplication::focusWidget(), button(sheet, QStringLiteral("取消")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button(sheet, QStringLiteral("收藏")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(sheet.text(), QStringLiteral("https://weibo.com/12"));
}

TEST(PrivateLockViewTest, ReturnAndTheButtonBothAskForTheUnlock)
{
    PrivateLockView lock;
    lock.resize(700, 500);
    lock.show();
    lock.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&lock));
    QSignalSpy unlock(&lock, &PrivateLockView::unlockRequested);
    EXPECT_TRUE(qobject_cast<ProminentButton *>(button(lock, QStringLiteral("解锁"))));
    QTest::mouseClick(button(lock, QStringLiteral("解锁")), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(unlock.count(), 2);
    EXPECT_TRUE(saveScreenshot(lock, QStringLiteral("private-lock")));
}

TEST(NavigationStackTest, TheBackButtonPopsAndClearDropsEveryPage)
{
    NavigationStack stack;
    stack.resize(600, 400);
    auto *root = new QLabel(QStringLiteral("root"));
    stack.setRoot(root);
    stack.show();
    auto *back = stack.findChild<QToolButton *>();
    EXPECT_FALSE(back->isVisible());

    QPointer<QWidget> first = new QLabel(QStringLiteral("first"));
    stack.push(first);
    stack.push(new QLabel(QStringLiteral("second")));
    EXPECT_EQ(stack.depth(), 2);
    EXPECT_TRUE(back->isVisible());
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(stack.top(), first);
    EXPECT_TRUE(first->isVisible());

    QSignalSpy depth(&stack, &NavigationStack::depthChanged);
    stack.clear();
    stack.clear();
    EXPECT_EQ(depth.count(), 1);
    EXPECT_EQ(stack.top(), root);
    EXPECT_FALSE(back->isVisible());
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST(NavigationStackTest, TheBarFoldsOverAQuarterSecondAndANewChangeTakesOver)
{
    const SteppedMotions stepped;
    NavigationStack stack;
    stack.resize(600, 400);
    auto *root = new QLabel(QStringLiteral("root"));
    stack.setRoot(root);
    stack.setTitle(root, QStringLiteral("全部收藏"), QStringLiteral("3 条"));
    stack.show();
    EXPECT_EQ(stack.title(), QStringLiteral("全部收藏"));

    stack.setBarHidden(true);
    EXPECT_EQ(stack.barMotion().duration(), 250);
    EXPECT_EQ(stack.barExtent(), NavigationStack::barHeight) << "the fold follows, it does not jump";
    stack.barMotion().setCurrentTime(125);
    const int halfway = stack.barExtent();
    EXPECT_GT(halfway, 0);
    EXPECT_LT(halfway, NavigationStack::barHeight);
    EXPECT_EQ(root->mapTo(&stack, QPoint()).y(), halfway);
    stack.setBarHidden(false);
    EXPECT_EQ(stack.barExtent(), halfway);
    stack.barMotion().finish();
    EXPECT_EQ(stack.barExtent(), NavigationStack::barHeight);
}

} // namespace
