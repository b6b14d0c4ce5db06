#include "../library/LibraryFixture.h"
#include "Chip.h"
#include "ImportProgress.h"
#include "InfoPane.h"
#include "AuthorIcon.h"
#include "AuthorRow.h"
#include "Screenshot.h"
#include "StarAuthorButton.h"
#include "Theme.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class InfoPaneTest : public LibraryFixture {
protected:
    // In a scrolling column, as the detail screen shows it.
    InfoPane &show(const std::shared_ptr<Post> &post)
    {
        auto *pane = new InfoPane(post, context);
        column.setWidget(pane);
        column.setWidgetResizable(true);
        column.resize(380, 700);
        column.show();
        return *pane;
    }

    static QList<Chip *> chips(const InfoPane &pane)
    {
        QList<Chip *> shown = pane.findChildren<Chip *>();
        shown.removeIf([&](const Chip *chip) { return !chip->isVisibleTo(&pane); });
        return shown;
    }

    static bool chipsBecome(const InfoPane &pane, const QStringList &expected)
    {
        return QTest::qWaitFor(
            [&] {
                QStringList texts;
                for (const Chip *chip : chips(pane))
                    texts << chip->text();
                return texts == expected;
            },
            10000);
    }

    // The menu's entries as it fills itself on opening; triggers `choice` when given.
    static QStringList open(QMenu &menu, const QString &choice = {})
    {
        menu.popup(QPoint(0, 0));
        QStringList texts;
        for (QAction *action : menu.actions()) {
            texts << (action->isSeparator() ? QStringLiteral("—") : action->text());
            if (action->text() == choice)
                action->trigger();
        }
        menu.hide();
        return texts;
    }

    QScrollArea column;
};

TEST_F(InfoPaneTest, ChipsAndMenusFileThePostAndSaveAtOnceLeavingDeletedBoardsOut)
{
    auto post = addPost(QStringLiteral("周末去哪"));
    auto travel = addTag(QStringLiteral("旅行"));
    addTag(QStringLiteral("美食"));
    auto art = addTag(QStringLiteral("艺术"));
    auto trips = addBoard(QStringLiteral("行程"));
    auto gone = addBoard(QStringLiteral("已删的合集"));
    auto later = addBoard(QStringLiteral("稍后看"));
    post->setTags({travel});
    post->setBoards({trips, gone});
    save();
    InfoPane &pane = show(post);
    context.remove(gone);
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#旅行"), QStringLiteral("行程")}));
    EXPECT_EQ(open(*pane.boardMenu(), QStringLiteral("稍后看")), QStringList{QStringLiteral("稍后看")});
    open(*pane.tagMenu(), QStringLiteral("#艺术"));
    EXPECT_EQ(post->tags(), (QList<std::shared_ptr<Tag>>{travel, art}));
    EXPECT_EQ(post->boards(), (QList<std::shared_ptr<Board>>{trips, later}));
    EXPECT_FALSE(context.hasChanges());

    QTest::mouseClick(chips(pane)[0]->removeButton(), Qt::LeftButton);
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{art});
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(InfoPaneTest, NewTagNameLosesSpacesAndHashesAndReusesATagOfThatName)
{
    auto post = addPost(QStringLiteral("京都"));
    auto travel = addTag(QStringLiteral("旅行"));
    save();
    InfoPane &pane = show(post);
    open(*pane.tagMenu(), QStringLiteral("新建标签…"));
    auto *alert = pane.findChild<QDialog *>(QStringLiteral("newTagAlert"));
    ASSERT_NE(alert, nullptr);
    const QString frameTitle =
        alert->windowTitle() + QStringLiteral(" \u2014 ") + qApp->applicationDisplayName();
    EXPECT_GT(alert->width(), QFontMetrics(alert->font()).horizontalAdvance(frameTitle) + 72)
        << "wide enough for the frame's title";
    alert->findChild<QLineEdit *>()->setText(QStringLiteral("##旅行# "));
    for (QAbstractButton *button : alert->findChild<QDialogButtonBox *>()->buttons())
        if (button->text() == QStringLiteral("添加"))
            button->click();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{travel});
    EXPECT_EQ(context.fetch<Tag>().size(), 1);

    pane.addNewTag(QStringLiteral(" ## # "));
    EXPECT_EQ(context.fetch<Tag>().size(), 1);
}

TEST_F(InfoPaneTest, TheNewTagDialogShowsItsTitleAndANameOfTwentyCharactersWhole)
{
    // The frame's title as the application has it, not the test program's longer name.
    const QString programName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Kepsel"));
    InfoPane &pane = show(addPost(QStringLiteral("京都")));
    open(*pane.tagMenu(), QStringLiteral("新建标签…"));
    auto *alert = pane.findChild<QDialog *>(QStringLiteral("newTagAlert"));
    QGuiApplication::setApplicationDisplayName(programName);
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(alert));
    auto *title = alert->findChild<QLabel *>(QStringLiteral("namingTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->isVisible());
    EXPECT_EQ(title->text(), QStringLiteral("新建标签"));

    auto *field = alert->findChild<QLineEdit *>();
    const QString name(20, QChar(0x8336));
    field->insert(name);
    EXPECT_TRUE(saveScreenshot(*alert, QStringLiteral("new-tag-dialog-long-name")));
    // Scrolled, the text would start left of the field and the caret's way along it be shorter.
    // The field scrolls its text as it paints.
    const auto caret = [field] {
        field->grab();
        return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    };
    field->home(false);
    const int start = caret();
    field->end(false);
    EXPECT_NEAR(caret() - start, field->fontMetrics().horizontalAdvance(name), 1);
    alert->reject();
}

TEST_F(InfoPaneTest, TheAuthorDiscTextAndNoteHeadingTakeTheirStyles)
{
    auto post = addPost(QStringLiteral("三行"), Platform::weibo, QStringLiteral("林"));
    post->setContent(QStringLiteral("一\n二\n三"));
    save();
    InfoPane &pane = show(post);
    EXPECT_TRUE(saveScreenshot(column, QStringLiteral("info-pane-styles")));

    // The badge, 16 across, sits on a placeholder disc that shows around it.
    auto *avatar = pane.findChild<AuthorRow *>()->findChild<AuthorIcon *>();
    ASSERT_NE(avatar, nullptr);
    const QImage drawn = avatar->grab().toImage();
    const QColor disc = Theme::placeholder().resolved();
    const int middle = AuthorRow::avatarSize / 2;
    for (const QPoint &at : {QPoint(4, middle), QPoint(middle - AuthorRow::avatarBadgeSize / 2 - 2, middle)})
        EXPECT_EQ(drawn.pixelColor(at).rgb(), disc.rgb()) << at.x();
    EXPECT_NE(drawn.pixelColor(middle, middle).rgb(), disc.rgb()) << "the badge";

    // Three points between the content's lines.
    auto *content = pane.findChild<QLabel *>(QStringLiteral("postContent"));
    ASSERT_NE(content, nullptr);
    EXPECT_GE(content->heightForWidth(content->width()), 3 * content->fontMetrics().lineSpacing() + 2 * 3);

    auto *heading = pane.findChild<QLabel *>(QStringLiteral("text"));
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->text(), QStringLiteral("笔记"));
    EXPECT_DOUBLE_EQ(heading->font().pointSizeF(), pane.font().pointSizeF() * 11 / 13);
    EXPECT_EQ(heading->font().weight(), QFont::DemiBold);
}

TEST_F(InfoPaneTest, FailedParseOffersReparseAndTheHeaderFollowsThePost)
{
    auto post = addPost(QString(), Platform::weibo, QString());
    post->setParseState(ParseState::failed);
    save();
    InfoPane &pane = show(post);
    QSignalSpy reparse(&pane, &InfoPane::reparseRequested);
    EXPECT_TRUE(saveScreenshot(column, QStringLiteral("info-pane-parse-failed")));
    QTest::mouseClick(pane.findChild<QPushButton *>(QStringLiteral("reparse")), Qt::LeftButton);
    EXPECT_EQ(reparse.size(), 1);

    ImportProgress::shared().startParsing(post->id());
    post->setTitle(QStringLiteral("解析出来的标题"));
    post->setAuthorName(QStringLiteral("林"));
    post->setParseState(ParseState::parsed);
    save();
    ImportProgress::shared().finish(post->id());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.findChild<StarAuthorButton *>() != nullptr; }, 10000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pane.findChild<QWidget *>(QStringLiteral("parseFailure")), nullptr);
    EXPECT_FALSE(pane.findChild<QWidget *>(QStringLiteral("importSpinner"))->isVisible());
}

} // namespace
