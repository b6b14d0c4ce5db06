#include "PostText.h"
#include "ShortDate.h"

#include "Board.h"
#include "Post.h"
#include "Tag.h"

#include <gtest/gtest.h>

namespace {

TEST(PostTextTest, SearchTextJoinsFieldsThenTagsThenBoards)
{
    auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1"), Platform::weibo);
    post->setTitle(QStringLiteral("Title"));
    post->setNote(QStringLiteral("note"));
    post->setAuthorName(QStringLiteral("Lin"));
    post->setTags({std::make_shared<Tag>(QStringLiteral("猫"), QStringLiteral("#D97757"))});
    post->setBoards({std::make_shared<Board>(QStringLiteral("旅行"), QString())});
    EXPECT_EQ(PostText::searchText(*post), QStringLiteral("Title  note Lin https://weibo.com/1 猫 旅行"));
}

TEST(PostTextTest, HeadlineFallsBackByCharactersNotCodeUnits)
{
    Post post(QStringLiteral("https://x.com/1"), Platform::x);
    EXPECT_EQ(PostText::headline(post), QStringLiteral("https://x.com/1"));
    post.setNote(QStringLiteral("笔记"));
    EXPECT_EQ(PostText::headline(post), QStringLiteral("笔记"));
    // 200 characters, each a family emoji of several code points.
    const QString family = QStringLiteral("👨‍👩‍👧");
    post.setContent(family.repeated(200));
    EXPECT_EQ(PostText::headline(post), family.repeated(80));
    post.setTitle(QStringLiteral("标题"));
    EXPECT_EQ(PostText::headline(post), QStringLiteral("标题"));
}

// Links are saved fully encoded; a person reads them in their own scripts.
TEST(PostTextTest, AnUntitledPostShowsAndFindsItsLinkAsWritten)
{
    Post post(QStringLiteral("https://xn--fsqu00a.xn--0zwm56d/%E8%B7%AF%E5%BE%84?q=%E5%80%BC"),
              Platform::web);
    EXPECT_EQ(PostText::headline(post), QStringLiteral("https://例子.测试/路径?q=值"));
    EXPECT_TRUE(PostText::searchText(post).contains(QStringLiteral("例子.测试/路径")));
    EXPECT_EQ(PostText::link(Post(QStringLiteral("https://xn--mnchen-3ya.de/a"), Platform::web)),
              QStringLiteral("https://münchen.de/a"));
    EXPECT_EQ(PostText::link(
                  Post(QStringLiteral("https://example.com/100%25%E6%AD%A3%E5%93%81/%2541"), Platform::web)),
              QStringLiteral("https://example.com/100%正品/%2541"));
    EXPECT_EQ(PostText::link(Post(QStringLiteral("no link"), Platform::web)), QStringLiteral("no link"));
}

TEST(PostTextTest, ShortDatesShowTheYearOnlyForOtherYears)
{
    const QDateTime now(QDate(2026, 12, 7), QTime(9, 0));
    const QDateTime thisYear(QDate(2026, 3, 5), QTime(12, 0));
    const QDateTime lastYear(QDate(2025, 3, 5), QTime(12, 0));
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(shortDisplay(thisYear, chinese, now), QStringLiteral("3月5日"));
    EXPECT_EQ(shortDisplay(lastYear, chinese, now), QStringLiteral("2025年3月5日"));
    EXPECT_EQ(shortDisplay(thisYear, english, now), QStringLiteral("Mar 5"));
    EXPECT_EQ(shortDisplay(lastYear, english, now), QStringLiteral("Mar 5, 2025"));
    EXPECT_EQ(shortDisplay(now, english, now), QStringLiteral("Dec 7"));
}

} // namespace
