#include "../library/LibraryFixture.h"
#include "Board.h"
#include "Chip.h"
#include "ImportProgress.h"
#include "InfoPane.h"
#include "Screenshot.h"
#include "StarAuthorButton.h"
#include "Tag.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class InfoPaneTest : public LibraryFixture {
protected:
    std::shared_ptr<Tag> addTag(const QString &name, const QString &color = QStringLiteral("#2980B9"))
    {
        auto tag = std::make_shared<Tag>(name, color);
        context.insert(tag);
        return tag;
    }

    std::shared_ptr<Board> addBoard(const QString &name)
    {
        auto board = std::make_shared<Board>(name, QString());
        board->setCreatedAt(QDateTime(QDate(2026, 2, 1), QTime(0, 0)).addSecs(++m_boards * 60));
        context.insert(board);
        return board;
    }

    // The pane as the detail screen shows it: in a scrolling column.
    InfoPane &show(const std::shared_ptr<Post> &post)
    {
        auto *pane = new InfoPane(post, context);
        m_column.setWidget(pane);
        m_column.setWidgetResizable(true);
        m_column.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_column.resize(380, 700);
        m_column.show();
        return *pane;
    }

    static QStringList chips(const InfoPane &pane)
    {
        QStringList texts;
        for (const Chip *chip : pane.findChildren<Chip *>())
            if (chip->isVisibleTo(&pane))
                texts << chip->text();
        return texts;
    }

    static Chip *chip(const InfoPane &pane, const QString &text)
    {
        for (Chip *chip : pane.findChildren<Chip *>())
            if (chip->isVisibleTo(&pane) && chip->text() == text)
                return chip;
        return nullptr;
    }

    // The menu's entries as they are when it opens.
    static QStringList entries(QMenu &menu)
    {
        menu.popup(QPoint(0, 0));
        QStringList texts;
        for (const QAction *action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("—")
                                            : action->text() + (action->isEnabled() ? "" : " (off)"));
        menu.hide();
        return texts;
    }

    static void choose(QMenu &menu, const QString &text)
    {
        menu.popup(QPoint(0, 0));
        for (QAction *action : menu.actions())
            if (action->text() == text)
                action->trigger();
        menu.hide();
    }

    bool chipsBecome(const InfoPane &pane, const QStringList &expected)
    {
        return QTest::qWaitFor([&] { return chips(pane) == expected; }, 2000);
    }

    QScrollArea m_column;

private:
    int m_boards = 0;
};

TEST_F(InfoPaneTest, ChipsAndMenusAddAndRemoveTagsAndBoardsAndSaveAtOnce)
{
    auto post = addPost(QStringLiteral("周末去哪"));
    auto travel = addTag(QStringLiteral("旅行"));
    addTag(QStringLiteral("美食"), QStringLiteral("#27AE60"));
    auto art = addTag(QStringLiteral("艺术"));
    auto trips = addBoard(QStringLiteral("行程"));
    auto later = addBoard(QStringLiteral("稍后看"));
    post->setTags({travel});
    post->setBoards({trips});
    save();
    InfoPane &pane = show(post);
    EXPECT_EQ(chips(pane), (QStringList{QStringLiteral("#旅行"), QStringLiteral("行程")}));
    EXPECT_EQ(entries(*pane.tagMenu()), (QStringList{QStringLiteral("#美食"), QStringLiteral("#艺术"),
                                                     QStringLiteral("—"), QStringLiteral("新建标签…")}));
    EXPECT_EQ(entries(*pane.boardMenu()), QStringList{QStringLiteral("稍后看")});

    choose(*pane.tagMenu(), QStringLiteral("#艺术"));
    choose(*pane.boardMenu(), QStringLiteral("稍后看"));
    EXPECT_EQ(post->tags(), (QList<std::shared_ptr<Tag>>{travel, art}));
    EXPECT_EQ(post->boards(), (QList<std::shared_ptr<Board>>{trips, later}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#旅行"), QStringLiteral("#艺术"), QStringLiteral("行程"),
                                   QStringLiteral("稍后看")}));
    EXPECT_EQ(entries(*pane.boardMenu()), QStringList{QStringLiteral("没有可加入的合集 (off)")});

    QTest::mouseClick(chip(pane, QStringLiteral("#旅行"))->removeButton(), Qt::LeftButton);
    QTest::mouseClick(chip(pane, QStringLiteral("行程"))->removeButton(), Qt::LeftButton);
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{art});
    EXPECT_EQ(post->boards(), QList<std::shared_ptr<Board>>{later});
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#艺术"), QStringLiteral("稍后看")}));
}

TEST_F(InfoPaneTest, DeletedBoardIsNeitherChipNorMenuEntry)
{
    auto post = addPost(QStringLiteral("旧合集里的一条"));
    auto gone = addBoard(QStringLiteral("已删的合集"));
    auto kept = addBoard(QStringLiteral("留着的合集"));
    addBoard(QStringLiteral("另一个"));
    post->setBoards({gone, kept});
    save();
    InfoPane &pane = show(post);
    context.remove(gone);
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("留着的合集")}));
    EXPECT_EQ(entries(*pane.boardMenu()), QStringList{QStringLiteral("另一个")});
}

TEST_F(InfoPaneTest, NewTagNameLosesSpacesAndHashesAndReusesATagOfThatName)
{
    auto post = addPost(QStringLiteral("京都"));
    auto travel = addTag(QStringLiteral("旅行"), QStringLiteral("#2980B9"));
    save();
    InfoPane &pane = show(post);

    choose(*pane.tagMenu(), QStringLiteral("新建标签…"));
    auto *alert = pane.findChild<QDialog *>(QStringLiteral("newTagAlert"));
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->windowTitle(), QStringLiteral("新建标签"));
    auto *name = alert->findChild<QLineEdit *>();
    EXPECT_EQ(name->placeholderText(), QStringLiteral("标签名"));
    name->setText(QStringLiteral("##旅行# "));
    for (QAbstractButton *button : alert->findChild<QDialogButtonBox *>()->buttons())
        if (button->text() == QStringLiteral("添加"))
            button->click();
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{travel});
    EXPECT_EQ(context.fetch<Tag>().size(), 1);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_TRUE(chipsBecome(pane, {QStringLiteral("#旅行")}));

    // Only hashes and spaces: nothing happens. A new name gets the default colour.
    pane.addNewTag(QStringLiteral(" ## # "));
    pane.addNewTag(QStringLiteral("#旅行"));
    EXPECT_EQ(post->tags(), QList<std::shared_ptr<Tag>>{travel});
    pane.addNewTag(QStringLiteral("\n美食#"));
    ASSERT_EQ(post->tags().size(), 2);
    EXPECT_EQ(post->tags()[1]->name(), QStringLiteral("美食"));
    EXPECT_EQ(post->tags()[1]->colorHex(), QStringLiteral("#D97757"));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(InfoPaneTest, FailedParseOffersReparseAndTheHeaderFollowsThePost)
{
    auto post = addPost(QString(), Platform::weibo, QString());
    post->setParseState(ParseState::failed);
    save();
    InfoPane &pane = show(post);
    QSignalSpy reparse(&pane, &InfoPane::reparseRequested);
    EXPECT_EQ(pane.findChild<QLabel *>(QStringLiteral("authorName"))->text(),
              Platform(Platform::weibo).displayName());
    EXPECT_EQ(pane.findChild<StarAuthorButton *>(), nullptr);
    EXPECT_EQ(pane.findChild<QLabel *>(QStringLiteral("postTitle")), nullptr);
    auto *failure = pane.findChild<QWidget *>(QStringLiteral("parseFailure"));
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->findChild<QLabel *>(QStringLiteral("text"))->text(), QStringLiteral("解析失败"));
    QTest::mouseClick(pane.findChild<QPushButton *>(QStringLiteral("reparse")), Qt::LeftButton);
    ASSERT_EQ(reparse.size(), 1);
    EXPECT_EQ(reparse[0][0].value<std::shared_ptr<Post>>(), post);

    // The parse runs: a spinner while it does, then the parsed post.
    ImportProgress::shared().startParsing(post->id());
    auto *spinner = pane.findChild<QWidget *>(QStringLiteral("importSpinner"));
    EXPECT_TRUE(spinner->isVisible());
    post->setTitle(QStringLiteral("解析出来的标题"));
    post->setAuthorName(QStringLiteral("林"));
    post->setParseState(ParseState::parsed);
    save();
    ImportProgress::shared().finish(post->id());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return pane.findChild<QLabel *>(QStringLiteral("postTitle")) != nullptr; }, 2000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pane.findChild<QWidget *>(QStringLiteral("parseFailure")), nullptr);
    EXPECT_NE(pane.findChild<StarAuthorButton *>(), nullptr);
    EXPECT_FALSE(pane.findChild<QWidget *>(QStringLiteral("importSpinner"))->isVisible());
}

TEST_F(InfoPaneTest, ManyTagsAndBoardsWrapWithinTheColumn)
{
    auto post = addPost(QStringLiteral("一次很长的旅行"));
    post->setContent(QStringLiteral("从北京出发，一路向南，经过很多城市。"));
    post->setPublishedAt(QDateTime(QDate(2025, 12, 24), QTime(9, 30)));
    const QStringList colors{"#C0392B", "#27AE60", "#2980B9", "#8E44AD", "#D97757"};
    QList<std::shared_ptr<Tag>> tags;
    for (const QString &name :
         {"旅行", "美食", "摄影", "城市漫步", "火车", "一个相当长的标签名字", "2025", "冬天"})
        tags << addTag(name, colors[tags.size() % colors.size()]);
    QList<std::shared_ptr<Board>> boards;
    for (const QString &name : {"行程", "想去的地方", "稍后看"})
        boards << addBoard(name);
    post->setTags(tags);
    post->setBoards(boards);
    save();
    InfoPane &pane = show(post);
    QTest::qWait(50);
    const QRect area = pane.findChild<QToolButton *>(QStringLiteral("addBoard"))->parentWidget()->rect();
    for (const Chip *chip : pane.findChildren<Chip *>())
        EXPECT_TRUE(area.contains(chip->geometry())) << chip->text().toStdString();
    EXPECT_LE(pane.width(), 380);
    EXPECT_TRUE(saveScreenshot(m_column, QStringLiteral("info-pane-many-tags")));
}

} // namespace
