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
        {"5,,7", {5, 7}}, {"99999999999999999999,8", {8}}, {" 4", {100}}, {"7\n,+8,-,-9", {8, -9}}};
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

TEST_F(PostTest, NewestFirstKeepsTheListOrderBetweenEqualDates)
{
    const QDateTime start = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    QList<std::shared_ptr<Post>> posts;
    for (int second : {0, 5, 5, 5, 9, 9}) {
        posts.append(
            std::make_shared<Post>(QStringLiteral("https://x.com/%1").arg(posts.size()), Platform::x));
        posts.last()->setCreatedAt(start.addSecs(second));
    }
    const auto indicesOf = [&posts](const QList<std::shared_ptr<Post>> &sorted) {
        QList<qsizetype> indices;
        for (const auto &post : sorted)
            indices.append(posts.indexOf(post));
        return indices;
    };
    // Oldest first, as a store holds them: turned round, ties as they came.
    EXPECT_EQ(indicesOf(Post::newestFirst(posts)), (QList<qsizetype>{4, 5, 1, 2, 3, 0}));
    std::swap(posts[0], posts[4]);
    EXPECT_EQ(indicesOf(Post::newestFirst(posts)), (QList<qsizetype>{0, 5, 1, 2, 3, 4}));
}

TEST_F(PostTest, CoverIsTheFirstMediumOfTheLowestOrder)
{
    QList<std::shared_ptr<Media>> media;
    for (int order : {3, 1, 2, 1})
        media.append(std::make_shared<Media>(MediaKind::image, order));
    post->setMedia(media);
    EXPECT_EQ(post->cover(), media[1]);
    EXPECT_EQ(post->cover(), post->sortedMedia().first());
    post->setMedia({});
    EXPECT_EQ(post->cover(), nullptr);
}

} // namespace
