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

TEST_F(ModelContainerTest, PostWithMediaTagsAndBoardsSurvivesReopen)
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
    auto tag = std::make_shared<Tag>(QStringLiteral("red"), QStringLiteral("#FF0000"));
    auto board = std::make_shared<Board>(QStringLiteral("Board"), QStringLiteral("summary"));
    board->setAuthorsRaw(QStringLiteral("weibo\tAlice"));
    post->setMedia({video, image});
    post->setTags({tag});
    post->setBoards({board});
    {
        auto container = open();
        container->mainContext().insert(post);
        container->mainContext().save();
    }

    auto container = open();
    const auto posts = container->mainContext().fetch<Post>();
    ASSERT_EQ(posts.size(), 1);
    const auto &stored = posts.first();
    EXPECT_EQ(stored->id(), post->id());
    for (auto field :
         {&Post::sourceURL, &Post::platformRaw, &Post::title, &Post::content, &Post::note, &Post::authorName,
          &Post::authorAvatarURL, &Post::parseStateRaw, &Post::parseError, &Post::telegramMessageIDsRaw})
        EXPECT_EQ(((*stored).*field)(), ((*post).*field)());
    for (auto field : {&Post::createdAt, &Post::updatedAt})
        EXPECT_EQ(((*stored).*field)(), ((*post).*field)());
    for (auto field : {&Post::publishedAt, &Post::telegramSyncedAt})
        EXPECT_EQ(((*stored).*field)(), ((*post).*field)());
    EXPECT_TRUE(stored->isArchived() && stored->isPrivate() && stored->telegramQueued());
    EXPECT_EQ(stored->telegramMessageID(), -42);

    const auto media = stored->media();
    ASSERT_EQ(media.size(), 2);
    EXPECT_EQ(media[0]->id(), video->id());
    EXPECT_EQ(media[0]->kindRaw(), QStringLiteral("video"));
    EXPECT_EQ(media[0]->order(), 1);
    for (auto field : {&Media::remoteURL, &Media::videoRemoteURL})
        EXPECT_EQ(((*media[0]).*field)(), ((*video).*field)());
    for (auto field : {&Media::width, &Media::height, &Media::duration})
        EXPECT_EQ(((*media[0]).*field)(), ((*video).*field)());
    EXPECT_EQ(media[0]->videoData(), QByteArray("video bytes"));
    EXPECT_EQ(media[0]->videoSize(), 11);
    EXPECT_FALSE(media[0]->data().has_value());
    EXPECT_EQ(media[1]->data(), QByteArray("")) << "empty bytes are not missing bytes";
    EXPECT_EQ(media[1]->thumbnail(), QByteArray("thumb"));

    ASSERT_EQ(stored->tags().size(), 1);
    EXPECT_EQ(stored->tags()[0]->name(), QStringLiteral("red"));
    EXPECT_EQ(stored->tags()[0]->colorHex(), QStringLiteral("#FF0000"));
    EXPECT_EQ(stored->tags()[0]->createdAt(), tag->createdAt());
    ASSERT_EQ(stored->boards().size(), 1);
    EXPECT_EQ(stored->boards()[0]->summary(), QStringLiteral("summary"));
    EXPECT_EQ(stored->boards()[0]->authorsRaw(), QStringLiteral("weibo\tAlice"));
    EXPECT_FALSE(container->mainContext().hasChanges());
}

TEST_F(ModelContainerTest, ByteFieldsAreFilesReplacedAndRemovedOnlyOnCommit)
{
    auto container = open();
    auto media = std::make_shared<Media>(MediaKind::image, 0);
    container->mainContext().insert(media);
    media->setData(QByteArray("first"));
    container->mainContext().save();
    EXPECT_EQ(ModelContainer::supportDirectory(storePath()), home.path() + QStringLiteral("/.Library_SUPPORT"));
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
}

} // namespace
