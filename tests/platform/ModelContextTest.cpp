#include "Board.h"
#include "Media.h"
#include "ModelContainer.h"
#include "Post.h"
#include "StoreError.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <cstdlib>
#include <sqlite3.h>

namespace {

class ModelContextTest : public HomeTest {
protected:
    QString storePath() const { return home.path() + QStringLiteral("/Library.store"); }
    void reopen()
    {
        container.reset();
        container = std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
    }
    ModelContext &context() { return container->mainContext(); }
    QStringList supportFiles() const
    {
        return QDir(ModelContainer::supportDirectory(storePath())).entryList(QDir::Files);
    }
    std::shared_ptr<Post> insertPost(const QString &title, int mediaCount = 0)
    {
        auto post = std::make_shared<Post>(QStringLiteral("https://example.com/") + title, Platform::web);
        post->setTitle(title);
        QList<std::shared_ptr<Media>> media;
        for (int i = 0; i < mediaCount; ++i) {
            media.append(std::make_shared<Media>(MediaKind::image, i));
            media.last()->setData(QByteArray("bytes ") + title.toUtf8());
        }
        post->setMedia(media);
        context().insert(post);
        return post;
    }
    // Runs SQL on a second connection to the store file; returns the first column of the last row.
    int runOnStore(const QByteArray &sql) const
    {
        sqlite3 *db = nullptr;
        EXPECT_EQ(sqlite3_open(storePath().toUtf8().constData(), &db), SQLITE_OK);
        int result = -1;
        const auto keep = [](void *out, int, char **values, char **) {
            *static_cast<int *>(out) = std::atoi(values[0]);
            return 0;
        };
        EXPECT_EQ(sqlite3_exec(db, sql.constData(), keep, &result, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
        return result;
    }

    std::unique_ptr<ModelContainer> container =
        std::make_unique<ModelContainer>(TamselStore::schema(), storePath());
};

// A record whose row write fails with something other than a store error, as an allocation failure would.
class Unwritable : public PersistentModel {
public:
    Unwritable() : PersistentModel(entityDescription()) {}
    static const EntityDescription &entityDescription()
    {
        static const EntityDescription entity = [] {
            EntityDescription description;
            description.name = QStringLiteral("Unwritable");
            description.materialize = [] { return std::make_shared<Unwritable>(); };
            description.columns.push_back(
                {QStringLiteral("value"),
                 [](const PersistentModel &, sqlite3_stmt *, int) { throw std::bad_alloc(); },
                 [](PersistentModel &, sqlite3_stmt *, int) {}});
            description.externalBlobs.append(QStringLiteral("bytes"));
            return description;
        }();
        return entity;
    }
    void setBytes(const QByteArray &bytes) { setBlob(0, bytes); }
};

QStringList titles(const QList<std::shared_ptr<Post>> &posts)
{
    QStringList result;
    for (const auto &post : posts)
        result.append(post->title());
    return result;
}

TEST_F(ModelContextTest, DeletingAPostCascadesToItsMediaAndTheirFiles)
{
    auto post = insertPost(QStringLiteral("a"), 2);
    insertPost(QStringLiteral("keep"), 1);
    context().save();
    ASSERT_EQ(supportFiles().size(), 3);

    context().remove(post);
    EXPECT_EQ(context().fetch<Media>().size(), 1);
    EXPECT_EQ(supportFiles().size(), 3) << "files go only once the delete is committed";
    context().save();

    EXPECT_EQ(supportFiles().size(), 1);
}

TEST_F(ModelContextTest, DeletesNullifyTagsAndBoardsInBothDirections)
{
    auto tag = std::make_shared<Tag>(QStringLiteral("t"), QStringLiteral("#D97757"));
    auto board = std::make_shared<Board>(QStringLiteral("b"), QString());
    auto doomed = insertPost(QStringLiteral("doomed"));
    auto kept = insertPost(QStringLiteral("kept"));
    for (const auto &post : {doomed, kept}) {
        post->setTags({tag});
        post->setBoards({board});
    }
    context().save();

    context().remove(doomed);
    context().remove(board);
    EXPECT_EQ(tag->posts(), QList<std::shared_ptr<Post>>{kept});
    context().save();
    reopen();

    const auto posts = context().fetch<Post>();
    ASSERT_EQ(posts.size(), 1);
    EXPECT_TRUE(posts.first()->boards().isEmpty());
    EXPECT_EQ(context().fetch<Tag>().first()->posts(), posts);
}

TEST_F(ModelContextTest, FailedSaveWritesNothingAndKeepsEveryChange)
{
    auto post = insertPost(QStringLiteral("saved"));
    context().save();
    post->setTitle(QStringLiteral("changed"));
    insertPost(QStringLiteral("new"), 1);
    runOnStore("CREATE TRIGGER refuse BEFORE INSERT ON Media BEGIN SELECT RAISE(ABORT, 'disk is full'); END");

    EXPECT_THROW(context().save(), StoreError);
    EXPECT_TRUE(context().hasChanges());
    EXPECT_TRUE(supportFiles().isEmpty()) << "files written for the failed save are removed";
    runOnStore("DROP TRIGGER refuse");
    EXPECT_EQ(runOnStore("SELECT count(*) FROM Post"), 1);

    context().save();
    reopen();
    EXPECT_EQ(titles(context().fetch<Post>()), (QStringList{"changed", "new"}));
    EXPECT_EQ(context().fetch<Media>().first()->data(), QByteArray("bytes new"));
}

TEST_F(ModelContextTest, AnyFailureBeforeTheCommitRemovesTheFilesWrittenForIt)
{
    const QString path = home.path() + QStringLiteral("/Unwritable.store");
    ModelContainer store({&Unwritable::entityDescription()}, path);
    auto record = std::make_shared<Unwritable>();
    record->setBytes("bytes");
    store.mainContext().insert(record);

    EXPECT_THROW(store.mainContext().save(), std::bad_alloc);
    EXPECT_TRUE(QDir(ModelContainer::supportDirectory(path)).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(store.mainContext().hasChanges());
}

TEST_F(ModelContextTest, ADeletedRecordIsNotLinkedAgain)
{
    auto post = insertPost(QStringLiteral("a"), 1);
    auto other = insertPost(QStringLiteral("b"));
    context().save();
    const auto medium = post->media().first();
    context().remove(medium);
    context().save();

    post->setMedia({medium});
    medium->setPost(other);
    EXPECT_TRUE(post->media().isEmpty());
    EXPECT_TRUE(other->media().isEmpty());
    const auto kept = insertPost(QStringLiteral("c"), 1)->media();
    context().remove(other);
    other->setMedia(kept);
    EXPECT_FALSE(kept.first()->post()->isGone()) << "a deleted post takes no medium from a live one";
    context().save();
    reopen();
    // A new row may take the deleted record's key; it must not show up in the first post.
    context().fetch<Post>()[1]->setMedia({std::make_shared<Media>(MediaKind::video, 0)});
    context().save();
    reopen();
    EXPECT_TRUE(context().fetch<Post>()[0]->media().isEmpty());
}

TEST_F(ModelContextTest, InsertingARemovedRecordUndoesTheRemoval)
{
    auto post = insertPost(QStringLiteral("kept"), 2);
    auto tag = std::make_shared<Tag>(QStringLiteral("t"), QStringLiteral("#FFFFFF"));
    post->setTags({tag});
    context().save();
    context().remove(post);
    context().insert(post);
    auto unsaved = insertPost(QStringLiteral("unsaved"), 1);
    context().remove(unsaved);
    context().insert(unsaved);
    context().save();
    // Its removal already written: the undo writes it again.
    auto saved = insertPost(QStringLiteral("saved"), 1);
    context().save();
    context().remove(saved);
    context().save();
    context().insert(saved);
    context().save();

    reopen();
    const auto posts = context().fetch<Post>();
    ASSERT_EQ(titles(posts), (QStringList{"kept", "unsaved", "saved"}));
    ASSERT_EQ(posts[2]->media().size(), 1);
    ASSERT_EQ(posts[0]->media().size(), 2);
    EXPECT_EQ(posts[0]->media()[1]->data(), QByteArray("bytes kept"));
}

TEST_F(ModelContextTest, ANewRowWhoseKeyIsTakenFailsTheSaveAndReplacesNothing)
{
    insertPost(QStringLiteral("first"));
    context().save();
    runOnStore(
        "INSERT INTO Post (pk, id, title) VALUES (2, 'D6D4F4B8-7C0A-4E61-9C8B-1A2B3C4D5E6F', 'other')");
    insertPost(QStringLiteral("second"));
    EXPECT_THROW(context().save(), StoreError);
    EXPECT_EQ(runOnStore("SELECT count(*) FROM Post WHERE title = 'other'"), 1);
}

} // namespace
