#include "Media.h"
#include "Post.h"
#include "TestHome.h"

#include <limits>

namespace {

class PostTest : public HomeTest {
protected:
    std::shared_ptr<Post> post = std::make_shared<Post>(
        QStringLiteral("https://www.xiaohongshu.com/explore/1"), Platform::xiaohongshu);
};

TEST_F(PostTest, MessageIDListKeepsOnlyWholeDecimalPiecesInOrder)
{
    post->setTelegramMessageID(100);
    // Empty or non-decimal pieces and numbers too large for an id are skipped; a piece with a space makes
    // the whole list fall back to the single id.
    const std::pair<const char *, QList<qint64>> cases[] = {
        {"5,,7", {5, 7}}, {"99999999999999999999,8", {8}}, {" 4", {100}}};
    for (const auto &[raw, ids] : cases) {
        post->setTelegramMessageIDsRaw(QString::fromLatin1(raw));
        EXPECT_EQ(post->telegramMessageIDs(), ids) << raw;
    }
}

TEST_F(PostTest, MessageIDFallbackCountsOneIdPerMediumUpToTenAndStopsAtTheLargest)
{
    post->setTelegramMessageID(100);
    QList<std::shared_ptr<Media>> media;
    for (int i = 0; i < 25; ++i)
        media.append(std::make_shared<Media>(MediaKind::image, i));
    post->setMedia(media);
    EXPECT_EQ(post->telegramMessageIDs().size(), 10);
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    post->setTelegramMessageID(largest - 1);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{largest - 1, largest}));
}

TEST_F(PostTest, DisplayTitleFallsBackByCharactersNotCodeUnits)
{
    const QString family = QString::fromUtf8("👨‍👩‍👧‍👦");
    post->setContent(family.repeated(100));
    EXPECT_EQ(post->displayTitle(), family.repeated(60));
}

} // namespace
