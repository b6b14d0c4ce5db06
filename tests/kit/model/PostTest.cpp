#include "Media.h"
#include "Post.h"
#include "TestHome.h"

#include <limits>

namespace {

class PostTest : public HomeTest {
protected:
    std::shared_ptr<Post> post = std::make_shared<Post>(
        QStringLiteral("https://www.xiaohongshu.com/explore/1"), Platform::xiaohongshu);

    void giveMedia(int count)
    {
        QList<std::shared_ptr<Media>> media;
        for (int i = 0; i < count; ++i)
            media.append(std::make_shared<Media>(MediaKind::image, i));
        post->setMedia(media);
    }
};

TEST_F(PostTest, MessageIDListKeepsOnlyWholeDecimalPiecesInOrder)
{
    post->setTelegramMessageID(100);
    const struct {
        const char *raw;
        QList<qint64> ids;
    } cases[] = {
        {"5,,7", {5, 7}},
        {"1a,3", {3}},
        {"7,3", {7, 3}},
        {"+4,-2", {4, -2}},
        {"99999999999999999999,8", {8}}, // too large to be an id
        {" 4", {100}},                    // a piece with a space falls back to the single id
        {"4\n", {100}},
    };
    for (const auto &c : cases) {
        post->setTelegramMessageIDsRaw(QString::fromLatin1(c.raw));
        EXPECT_EQ(post->telegramMessageIDs(), c.ids) << c.raw;
    }
}

TEST_F(PostTest, MessageIDFallbackCountsOneIdPerMediumUpToTenAndStopsAtTheLargest)
{
    EXPECT_TRUE(post->telegramMessageIDs().isEmpty());
    post->setTelegramMessageID(100);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{100}));
    giveMedia(3);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{100, 101, 102}));
    giveMedia(25);
    EXPECT_EQ(post->telegramMessageIDs().size(), 10);

    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    post->setTelegramMessageID(largest - 1);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{largest - 1, largest}));
}

TEST_F(PostTest, WritingMessageIDsKeepsTextAndFirstIdTogether)
{
    post->setTelegramMessageIDs({7, 3, -1});
    EXPECT_EQ(post->telegramMessageIDsRaw(), QStringLiteral("7,3,-1"));
    EXPECT_EQ(post->telegramMessageID(), 7);
    post->setTelegramMessageIDs({});
    EXPECT_EQ(post->telegramMessageID(), 0);
    EXPECT_TRUE(post->telegramMessageIDs().isEmpty());
}

TEST_F(PostTest, DisplayTitleFallsBackByCharactersNotCodeUnits)
{
    EXPECT_EQ(post->displayTitle(), post->sourceURL());
    const QString family = QString::fromUtf8("👨‍👩‍👧‍👦");
    post->setContent(family.repeated(100));
    EXPECT_EQ(post->displayTitle(), family.repeated(60));
    post->setContent({});
    post->setNote(QStringLiteral("   "));
    EXPECT_EQ(post->displayTitle(), QStringLiteral("   "));
    post->setTitle(QStringLiteral("标题"));
    EXPECT_EQ(post->displayTitle(), QStringLiteral("标题"));
    EXPECT_EQ(std::make_shared<Post>(QString(), Platform::local)->displayTitle(), QString());
}

TEST_F(PostTest, SortedMediaIsStableAndCoverIsRecomputed)
{
    EXPECT_EQ(post->cover(), nullptr);
    auto late = std::make_shared<Media>(MediaKind::image, 2);
    auto tieFirst = std::make_shared<Media>(MediaKind::image, 1);
    auto tieSecond = std::make_shared<Media>(MediaKind::video, 1);
    post->setMedia({late, tieFirst, tieSecond});
    EXPECT_EQ(post->sortedMedia(), (QList<std::shared_ptr<Media>>{tieFirst, tieSecond, late}));
    late->setOrder(0);
    EXPECT_EQ(post->cover(), late);
}

} // namespace
