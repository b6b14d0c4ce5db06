#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "Tag.h"
#include "TamselStore.h"
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
    QList<qint64> idsFrom(const QString &raw)
    {
        post->setTelegramMessageIDsRaw(raw);
        return post->telegramMessageIDs();
    }
};

TEST_F(PostTest, NewPostStartsPendingWithItsLinkAndPlatform)
{
    EXPECT_EQ(post->sourceURL(), QStringLiteral("https://www.xiaohongshu.com/explore/1"));
    EXPECT_EQ(post->platformRaw(), QStringLiteral("xiaohongshu"));
    EXPECT_EQ(post->parseState(), ParseState::pending);
    EXPECT_TRUE(post->createdAt().isValid());
    EXPECT_FALSE(post->publishedAt().has_value());
    EXPECT_NE(post->id(), std::make_shared<Post>(QString(), Platform::web)->id());
}

TEST_F(PostTest, UnknownRawValuesReadAsWebAndPending)
{
    post->setPlatformRaw(QStringLiteral("Weibo"));
    EXPECT_EQ(post->platform(), Platform::web);
    post->setPlatform(Platform::bilibili);
    EXPECT_EQ(post->platformRaw(), QStringLiteral("bilibili"));

    for (const char *raw : {"", "Parsed", "nonsense", "pending"}) {
        post->setParseStateRaw(QString::fromLatin1(raw));
        EXPECT_EQ(post->parseState(), ParseState::pending) << raw;
    }
    post->setParseState(ParseState::failed);
    EXPECT_EQ(post->parseStateRaw(), QStringLiteral("failed"));
}

TEST_F(PostTest, MessageIDListKeepsOnlyWholeDecimalPiecesInOrder)
{
    EXPECT_EQ(idsFrom(QStringLiteral("5,,7")), (QList<qint64>{5, 7}));
    EXPECT_EQ(idsFrom(QStringLiteral("1a,3")), (QList<qint64>{3}));
    EXPECT_EQ(idsFrom(QStringLiteral("7,3")), (QList<qint64>{7, 3}));
    EXPECT_EQ(idsFrom(QStringLiteral("+4,-2")), (QList<qint64>{4, -2}));
    EXPECT_EQ(idsFrom(QStringLiteral("99999999999999999999,8")), (QList<qint64>{8}))
        << "too large to be an id";
    post->setTelegramMessageID(100);
    EXPECT_EQ(idsFrom(QStringLiteral(" 4")), (QList<qint64>{100})) << "a piece with a space falls back";
    EXPECT_EQ(idsFrom(QStringLiteral("4\n")), (QList<qint64>{100})) << "nor does a trailing line break";
}

TEST_F(PostTest, MessageIDFallbackCountsOneIdPerMediumUpToTen)
{
    EXPECT_TRUE(post->telegramMessageIDs().isEmpty());
    post->setTelegramMessageID(100);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{100}));
    giveMedia(3);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{100, 101, 102}));
    giveMedia(25);
    EXPECT_EQ(post->telegramMessageIDs().size(), 10);
    EXPECT_EQ(post->telegramMessageIDs().last(), 109);
}

TEST_F(PostTest, MessageIDFallbackStopsAtTheLargestId)
{
    constexpr qint64 largest = std::numeric_limits<qint64>::max();
    giveMedia(5);
    post->setTelegramMessageID(largest - 1);
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{largest - 1, largest}));
}

TEST_F(PostTest, WritingMessageIDsKeepsTextAndFirstIdTogether)
{
    post->setTelegramMessageIDs({7, 3, -1});
    EXPECT_EQ(post->telegramMessageIDsRaw(), QStringLiteral("7,3,-1"));
    EXPECT_EQ(post->telegramMessageID(), 7);
    post->setTelegramMessageIDs({});
    EXPECT_EQ(post->telegramMessageIDsRaw(), QString());
    EXPECT_EQ(post->telegramMessageID(), 0);
    EXPECT_TRUE(post->telegramMessageIDs().isEmpty());
}

TEST_F(PostTest, DisplayTitleFallsBackByCharactersNotCodeUnits)
{
    EXPECT_EQ(post->displayTitle(), post->sourceURL());
    const QString family = QString::fromUtf8("👨‍👩‍👧‍👦");
    QString content;
    for (int i = 0; i < 100; ++i)
        content += family;
    post->setContent(content);
    EXPECT_EQ(post->displayTitle(), family.repeated(60));
    post->setContent({});
    post->setNote(QStringLiteral("   "));
    EXPECT_EQ(post->displayTitle(), QStringLiteral("   "));
    post->setTitle(QStringLiteral("标题"));
    EXPECT_EQ(post->displayTitle(), QStringLiteral("标题"));

    auto localNote = std::make_shared<Post>(QString(), Platform::local);
    EXPECT_EQ(localNote->displayTitle(), QString());
}

TEST_F(PostTest, SortedMediaIsStableAndCoverIsTheFirst)
{
    EXPECT_EQ(post->cover(), nullptr);
    auto late = std::make_shared<Media>(MediaKind::image, 2);
    auto tieFirst = std::make_shared<Media>(MediaKind::image, 1);
    auto tieSecond = std::make_shared<Media>(MediaKind::video, 1);
    post->setMedia({late, tieFirst, tieSecond});
    EXPECT_EQ(post->sortedMedia(), (QList<std::shared_ptr<Media>>{tieFirst, tieSecond, late}));
    EXPECT_EQ(post->cover(), tieFirst);
    late->setOrder(0);
    EXPECT_EQ(post->cover(), late) << "recomputed on every read";
}

TEST_F(PostTest, SortedTagsCompareNumbersByValue)
{
    auto ten = std::make_shared<Tag>(QStringLiteral("tag 10"), QStringLiteral("#D97757"));
    auto nine = std::make_shared<Tag>(QStringLiteral("tag 9"), QStringLiteral("#D97757"));
    auto apple = std::make_shared<Tag>(QStringLiteral("Apple"), QStringLiteral("#D97757"));
    post->setTags({ten, nine, apple});
    EXPECT_EQ(post->sortedTags(), (QList<std::shared_ptr<Tag>>{apple, nine, ten}));
}

TEST_F(PostTest, DeletedOrNeverInsertedPostIsGone)
{
    auto container = TamselStore::makeContainer(true);
    EXPECT_TRUE(post->isGone());
    container->mainContext().insert(post);
    EXPECT_FALSE(post->isGone());
    container->mainContext().remove(post);
    EXPECT_TRUE(post->isGone());
}

} // namespace
