#include "../library/LibraryFixture.h"
#include "Chip.h"
#include "ImportProgress.h"
#include "InfoPane.h"
#include "Screenshot.h"
#include "StarAuthorButton.h"

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
            2000);
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
    EXPECT_EQ(open(*pane.tagMenu()), (QStringList{QStringLiteral("#美食"), QStringLiteral("#艺术"),
                                                  QStringLiteral("—"), QStringLiteral("新建标签…")}));
    EXPECT_EQ(open(*pane.boardMenu(), QStringLiteral("稍后看")), QStringList{QStringLiteral("稍后看")});
    open(*pane.tagMenu(), QStringLiteral("#艺术"));
    EXPECT_EQ(post->tags(), (QList<std::shared_ptr<Tag>>{travel, art}));
    EXPECT_EQ(post->boards(), (QList<std::shared_ptr<Board>>{trips, later}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(open(*pane.boardMenu()), QStringList{QStringLiteral("没有可加入的合集")});
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#旅行"), QStringLiteral("#艺术"), QStringLiteral("行程"),
                                   QStringLiteral("稍后看")}));

    QTest::mouseClick(chips(pane)[0]->removeButton(), Qt::LeftButton);
    QTest::mouseClick(chips(pane)[2]->removeButton(), Qt::LeftButton);
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{art});
    EXPECT_EQ(post->boards(), QList<std::shared_ptr<Board>>{later});
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#艺术"), QStringLiteral("稍后看")}));
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
    alert->findChild<QLineEdit *>()->setText(QStringLiteral("##旅行# "));
    for (QAbstractButton *button : alert->findChild<QDialogButtonBox *>()->buttons())
        if (button->text() == QStringLiteral("添加"))
            button->click();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{travel});
    EXPECT_EQ(context.fetch<Tag>().size(), 1);
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#旅行")}));

    pane.addNewTag(QStringLiteral(" ## # "));
    EXPECT_EQ(context.fetch<Tag>().size(), 1);
    pane.addNewTag(QStringLiteral("\n美食#"));
    ASSERT_EQ(post->tags().size(), 2);
    EXPECT_EQ(post->tags()[1]->name(), QStringLiteral("美食"));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(InfoPaneTest, FailedParseOffersReparseAndTheHeaderFollowsThePost)
{
    auto post = addPost(QString(), Platform::weibo, QString());
    post->setParseState(ParseState::failed);
    save();
    InfoPane &pane = show(post);
    QSignalSpy reparse(&pane, &InfoPane::reparseRequested);
    EXPECT_EQ(pane.findChild<QLabel *>(QStringLiteral("authorName"))->text(), QStringLiteral("微博"));
    EXPECT_EQ(pane.findChild<StarAuthorButton *>(), nullptr);
    EXPECT_TRUE(saveScreenshot(column, QStringLiteral("info-pane-parse-failed")));
    QTest::mouseClick(pane.findChild<QPushButton *>(QStringLiteral("reparse")), Qt::LeftButton);
    EXPECT_EQ(reparse.size(), 1);

    ImportProgress::shared().startParsing(post->id());
    EXPECT_TRUE(pane.findChild<QWidget *>(QStringLiteral("importSpinner"))->isVisible());
    post->setTitle(QStringLiteral("解析出来的标题"));
    post->setAuthorName(QStringLiteral("林"));
    post->setParseState(ParseState::parsed);
    save();
    ImportProgress::shared().finish(post->id());
    EXPECT_TRUE(QTest::qWaitFor([&] { return pane.findChild<StarAuthorButton *>() != nullptr; }, 2000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pane.findChild<QWidget *>(QStringLiteral("parseFailure")), nullptr);
    EXPECT_NE(pane.findChild<QLabel *>(QStringLiteral("postTitle")), nullptr);
    EXPECT_FALSE(pane.findChild<QWidget *>(QStringLiteral("importSpinner"))->isVisible());
}

TEST_F(InfoPaneTest, ManyTagsAndBoardsWrapWithinTheColumn)
{
    auto post = addPost(QStringLiteral("一次很长的旅行"));
    post->setContent(QStringLiteral("从北京出发，一路向南，经过很多城市。"));
    post->setPublishedAt(QDateTime(QDate(2025, 12, 24), QTime(9, 30)));
    const QStringList colors{"#C0392B", "#27AE60", "#2980B9", "#8E44AD"};
    QList<std::shared_ptr<Tag>> tags;
    for (const char *name :
         {"旅行", "美食", "摄影", "城市漫步", "火车", "一个相当长的标签名字", "2025", "冬天"})
        tags << addTag(QString::fromUtf8(name), colors[tags.size() % colors.size()]);
    post->setTags(tags);
    post->setBoards({addBoard(QStringLiteral("行程")), addBoard(QStringLiteral("想去的地方"))});
    save();
    InfoPane &pane = show(post);
    QTest::qWait(50);
    for (const Chip *chip : chips(pane))
        EXPECT_TRUE(chip->parentWidget()->rect().contains(chip->geometry())) << chip->text().toStdString();
    EXPECT_TRUE(saveScreenshot(column, QStringLiteral("info-pane-many-tags")));
}

} // namespace
