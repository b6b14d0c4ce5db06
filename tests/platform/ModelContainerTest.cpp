#include "Board.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "StoreError.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>

namespace {

class ModelContainerTest : public HomeTest {
protected:
    QString storePath() const { return home.path() + QStringLiteral("/Library.store"); }
    std::unique_ptr<ModelContainer> open() const
    {
        return std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
    }
    QStringList supportFiles() const
    {
        return QDir(ModelContainer::supportDirectory(storePath())).entryList(QDir::Files);
    }
};

std::shared_ptr<Post> fullPost()
{
    auto post = std::make_shared<Post>(QStringLiteral("https://weibo.com/1/abc"), Platform::weibo);
    post->setTitle(QStringLiteral("标题"));
    post->setContent(QStringLiteral("正文 🧑‍🤝‍🧑"));
    post->setNote(QStringLiteral("note"));
    post->setAuthorName(QStringLiteral("Alice"));
    post->setAuthorAvatarURL(QStringLiteral("https://a/avatar.jpg"));
    post->setPublishedAt(QDateTime::fromMSecsSinceEpoch(1700000000123));
    post->setParseStateRaw(QStringLiteral("failed"));
    post->setParseError(QStringLiteral("结构变了"));
    post->setIsArchived(true);
    post->setIsPrivate(true);
    post->setTelegramMessageID(-42);
    post->setTelegramMessageIDsRaw(QStringLiteral("-42,9"));
    post->setTelegramSyncedAt(QDateTime::fromMSecsSinceEpoch(1700000009999));
    post->setTelegramQueued(true);
    return post;
}

TEST_F(ModelContainerTest, PostWithMediaTagsAndBoardsSurvivesReopen)
{
    auto post = fullPost();
    auto video = std::make_shared<Media>(MediaKind::video, 1);
    video->setRemoteURL(QStringLiteral("https://a/cover.jpg"));
    video->setVideoRemoteURL(QStringLiteral("https://a/v.mp4"));
    video->setWidth(1920.5);
    video->setHeight(1080);
    video->setDuration(12.25);
    video->setVideoData(QByteArray("video bytes"));
    video->setVideoSize(11);
    auto image = std::make_shared<Media>(MediaKind::image, 0);
    image->setData(QByteArray(""));
    image->setThumbnail(QByteArray("thumb"));
    auto red = std::make_shared<Tag>(QStringLiteral("red"), QStringLiteral("#FF0000"));
    auto blue = std::make_shared<Tag>(QStringLiteral("blue"), QStringLiteral("#0000FF"));
    auto board = std::make_shared<Board>(QStringLiteral("Board"), QStringLiteral("summary"));
    board->setAuthorsRaw(QStringLiteral("weibo\tAlice"));
    post->setMedia({video, image});
    post->setTags({red, blue});
    post->setBoards({board});
    {
        auto container = open();
        container->mainContext().insert(post);
        container->mainContext().save();
    }

    auto container = open();
    auto &context = container->mainContext();
    const auto posts = context.fetch<Post>();
    ASSERT_EQ(posts.size(), 1);
    const auto &stored = posts.first();
    EXPECT_EQ(stored->id(), post->id());
    for (auto field :
         {&Post::sourceURL, &Post::platformRaw, &Post::title, &Post::content, &Post::note, &Post::authorName,
          &Post::authorAvatarURL, &Post::parseStateRaw, &Post::parseError, &Post::telegramMessageIDsRaw})
        EXPECT_EQ(((*stored).*field)(), ((*post).*field)());
    EXPECT_EQ(stored->publishedAt(), post->publishedAt());
    EXPECT_EQ(stored->createdAt(), post->createdAt());
    EXPECT_EQ(stored->updatedAt(), post->updatedAt());
    EXPECT_EQ(stored->telegramSyncedAt(), post->telegramSyncedAt());
    EXPECT_TRUE(stored->isArchived());
    EXPECT_TRUE(stored->isPrivate());
    EXPECT_TRUE(stored->telegramQueued());
    EXPECT_EQ(stored->telegramMessageID(), -42);

    const auto media = stored->media();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media[0]->id(), video->id());
    EXPECT_EQ(media[0]->kindRaw(), QStringLiteral("video"));
    EXPECT_EQ(media[0]->order(), 1);
    EXPECT_EQ(media[0]->videoRemoteURL(), QStringLiteral("https://a/v.mp4"));
    EXPECT_EQ(media[0]->width(), 1920.5);
    EXPECT_EQ(media[0]->duration(), 12.25);
    EXPECT_EQ(media[0]->videoData(), QByteArray("video bytes"));
    EXPECT_EQ(media[0]->videoSize(), 11);
    EXPECT_FALSE(media[0]->data().has_value());
    EXPECT_EQ(media[1]->data(), QByteArray(""));
    EXPECT_EQ(media[1]->thumbnail(), QByteArray("thumb"));
    EXPECT_EQ(media[1]->post(), stored);

    const auto tags = stored->tags();
    ASSERT_EQ(tags.size(), 2);
    EXPECT_EQ(tags[0]->name(), QStringLiteral("red"));
    EXPECT_EQ(tags[0]->colorHex(), QStringLiteral("#FF0000"));
    EXPECT_EQ(tags[0]->createdAt(), red->createdAt());
    EXPECT_EQ(tags[1]->posts(), QList<std::shared_ptr<Post>>{stored});
    const auto boards = stored->boards();
    ASSERT_EQ(boards.size(), 1);
    EXPECT_EQ(boards[0]->summary(), QStringLiteral("summary"));
    EXPECT_EQ(boards[0]->authorsRaw(), QStringLiteral("weibo\tAlice"));
    EXPECT_EQ(boards[0]->posts(), QList<std::shared_ptr<Post>>{stored});
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(ModelContainerTest, ByteFieldsAreFilesInTheSupportFolderAndLeaveMemoryWhenSaved)
{
    auto container = open();
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    container->mainContext().insert(media);
    media->setData(QByteArray("first"));
    container->mainContext().save();
    EXPECT_EQ(ModelContainer::supportDirectory(storePath()),
              home.path() + QStringLiteral("/.Library_SUPPORT"));
    ASSERT_EQ(supportFiles().size(), 1);
    const QString first = supportFiles().first();

    media->setData(QByteArray("second"));
    EXPECT_EQ(supportFiles(), QStringList{first}) << "the old file stays until the replacement is committed";
    container->mainContext().save();
    ASSERT_EQ(supportFiles().size(), 1);
    EXPECT_NE(supportFiles().first(), first);
    EXPECT_EQ(media->data(), QByteArray("second"));

    media->setData(std::nullopt);
    container->mainContext().save();
    EXPECT_TRUE(supportFiles().isEmpty());
    EXPECT_FALSE(media->data().has_value());
}

TEST_F(ModelContainerTest, MissingByteFileReadsAsNoBytes)
{
    {
        auto container = open();
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setData(QByteArray("bytes"));
        container->mainContext().insert(media);
        container->mainContext().save();
    }
    for (const QString &file : supportFiles())
        QFile::remove(ModelContainer::supportDirectory(storePath()) + QLatin1Char('/') + file);

    auto container = open();
    const auto media = container->mainContext().fetch<Media>();
    ASSERT_EQ(media.size(), 1);
    EXPECT_FALSE(media.first()->data().has_value());
    EXPECT_FALSE(media.first()->thumbnail().has_value());
}

TEST_F(ModelContainerTest, FileThatIsNoDatabaseIsRefusedAndLeftAlone)
{
    const QByteArray garbage(4096, 'x');
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();

    EXPECT_THROW(open(), StoreError);

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
    EXPECT_FALSE(QFile::exists(storePath() + QStringLiteral("-wal")));
}

TEST_F(ModelContainerTest, InMemoryStoreKeepsBytesInMemory)
{
    ModelContainer container(TamselStore::schema());
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    container.mainContext().insert(media);
    media->setVideoData(QByteArray("clip"));
    container.mainContext().save();
    EXPECT_EQ(media->videoData(), QByteArray("clip"));
    EXPECT_TRUE(container.storePath().isEmpty());
}

} // namespace
