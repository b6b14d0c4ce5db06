#include "BackupCoder.h"
#include "BackupError.h"
#include "KepselHooks.h"
#include "Library.h"
#include "SyncIncoming.h"
#include "SyncMerge.h"
#include "TestHome.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Backup;

namespace {

// One device: its library and its own state file.
struct Device : Library {
    explicit Device(const QString &statePath) : statePath(statePath) {}
    QString statePath;
};

class SyncMergeTest : public HomeTest {
protected:
    void TearDown() override
    {
        KepselHooks::postDeletedBySync().clear();
        KepselHooks::postIDChanged().clear();
    }

    // Merges the shared document into the device and writes the output back.
    Sync::Result sync(Device &device)
    {
        now = now.addSecs(60);
        Sync::Result result = Sync::merge(folder, device.context, device.statePath, now);
        if (result.output)
            folder = result.output;
        return result;
    }
    // The shared document, changed by hand.
    void editFolder(const std::function<void(File &)> &edit)
    {
        File file = decode(*folder);
        edit(file);
        folder = encode(file);
    }
    static QString key(const QUuid &id) { return id.toString(QUuid::WithoutBraces).toUpper(); }

    QDateTime now = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    std::optional<QByteArray> folder;
    Device a{home.path() + "/a/SyncState.json"};
    Device b{home.path() + "/b/SyncState.json"};
};

TEST_F(SyncMergeTest, EditsTravelBothWaysAndEqualStampsDoNotApply)
{
    auto post = a.addPost("https://weibo.com/1");
    post->setTags({a.addTag("t")});
    sync(a);
    EXPECT_EQ(sync(b).added, 2);

    b.find(post->id())->setNote("from b");
    sync(b);
    EXPECT_EQ(sync(a).updated, 1);
    EXPECT_EQ(post->note(), "from b");
    EXPECT_FALSE(sync(a).output) << "an unchanged document is not written again";

    editFolder([&](File &file) { file.posts[0].note = "same stamp"; });
    sync(a);
    EXPECT_EQ(post->note(), "from b");
}

// Times made here carry milliseconds; the shared document holds whole seconds.
TEST_F(SyncMergeTest, OnlyADocumentThatReadsDifferentlyIsWrittenAgain)
{
    const QDateTime fraction = QDateTime::fromMSecsSinceEpoch(1690000000123, Qt::UTC);
    auto post = a.addPost("https://weibo.com/1");
    post->setPublishedAt(fraction);
    post->setTelegramSyncedAt(fraction);
    post->setTags({a.addTag("t")});
    a.addBoard("b")->setCreatedAt(fraction);
    auto group = a.addGroup("weibo\ta", true);
    group->setStarredAt(fraction);
    group->setCreatedAt(fraction);
    ASSERT_TRUE(sync(a).output);
    EXPECT_FALSE(sync(a).output);

    editFolder([&](File &file) { file.exportedAt = file.exportedAt.addDays(1); });
    EXPECT_FALSE(sync(a).output) << "the export time alone";
    editFolder([&](File &file) { file.syncStamps->insert(key(QUuid::createUuid()), now); });
    EXPECT_TRUE(sync(a).output) << "a stamp this device does not keep";
    editFolder([&](File &file) { file.posts[0].authorName = "someone"; });
    EXPECT_TRUE(sync(a).output) << "a field the merge does not take";
}

TEST_F(SyncMergeTest, TagsMatchByIdThenByNameAndNewerRenamesTravel)
{
    auto post = a.addPost("https://weibo.com/1");
    post->setTags({a.addTag("same name")});
    auto renamed = a.addTag("old");
    auto local = b.addTag("same name");
    sync(a);
    sync(b);
    EXPECT_EQ(b.find(post->id())->tags(), QList<std::shared_ptr<Tag>>{local});

    renamed->setName("new");
    sync(a);
    EXPECT_EQ(sync(b).updated, 1);
    EXPECT_EQ(b.find<Tag>(renamed->id())->name(), "new");
}

TEST_F(SyncMergeTest, ARepeatedIdMeetsTheRecordItsFirstCopyMade)
{
    auto post = a.addPost("https://weibo.com/1");
    post->setTags({a.addTag("t")});
    auto group = a.addGroup("weibo\ta\nweibo\tb");
    sync(a);
    editFolder([](File &file) {
        file.tags.append(file.tags[0]);
        file.tags[1].name = "other name";
        file.authorGroups->append(file.authorGroups->at(0));
        (*file.authorGroups)[1].name = "other person";
    });
    EXPECT_EQ(sync(b).added, 3);
    EXPECT_EQ(b.count<Tag>(), 1);
    EXPECT_EQ(b.find<Tag>(post->tags()[0]->id())->name(), "t");
    EXPECT_EQ(b.count<AuthorGroup>(), 1);
}

TEST_F(SyncMergeTest, DeletesTravelAndAnEditMadeAfterADeleteSurvives)
{
    auto gone = a.addPost("https://weibo.com/gone"), kept = a.addPost("https://weibo.com/kept");
    sync(a);
    sync(b);
    QList<bool> presentAtHook;
    KepselHooks::postDeletedBySync().append(
        [&](const QUuid &id) { presentAtHook.append(b.find(id) != nullptr && id == gone->id()); });

    a.context.remove(gone);
    a.context.remove(kept);
    sync(a);
    b.find(kept->id())->setNote("edited after the delete");
    const Sync::Result result = sync(b);
    EXPECT_EQ(result.deleted, 1);
    EXPECT_EQ(presentAtHook, QList<bool>{true});
    EXPECT_TRUE(b.find(kept->id()));

    sync(a);
    ASSERT_TRUE(a.find(kept->id()));
    EXPECT_EQ(a.find(kept->id())->note(), "edited after the delete");
}

TEST_F(SyncMergeTest, ATombstoneEqualToTheStampDeletes)
{
    auto post = a.addPost("https://weibo.com/1");
    sync(a);
    editFolder([&](File &file) {
        file.tombstones = DateMap{{key(post->id()), file.syncStamps->value(key(post->id()))}};
        file.posts.clear();
    });
    EXPECT_EQ(sync(a).deleted, 1);
}

TEST_F(SyncMergeTest, TombstonesLastUnder180Days)
{
    a.addPost("https://weibo.com/1");
    sync(a);
    const QDateTime next = now.addSecs(60);
    const QString old = key(QUuid::createUuid()), future = key(QUuid::createUuid());
    editFolder([&](File &file) { file.tombstones = DateMap{{old, next.addSecs(-180 * 86400)}}; });
    sync(a);
    EXPECT_FALSE(decode(*folder).tombstones);

    editFolder([&](File &file) {
        // Written at the next sync, exactly 180 days old at the one after it.
        file.tombstones = DateMap{{old, now.addSecs(120 - 180 * 86400)}, {future, now.addDays(1)}};
    });
    sync(a);
    sync(a);
    EXPECT_EQ(decode(*folder).tombstones->keys(), QList<QString>{future}) << "exactly 180 days";
}

TEST_F(SyncMergeTest, ADeviceOfflineForMonthsStillLearnsOfADelete)
{
    auto post = a.addPost("https://weibo.com/1");
    sync(a);
    sync(b);
    a.context.remove(post);
    sync(a);
    now = now.addDays(179);
    sync(a);
    EXPECT_EQ(sync(b).deleted, 1);
    sync(a);
    EXPECT_EQ(a.count() + b.count(), 0);
}

TEST_F(SyncMergeTest, AnOlderRemoteTombstoneNeverReplacesANewerLocalOne)
{
    auto post = a.addPost("https://weibo.com/1");
    sync(a);
    const QDateTime stamp = decode(*folder).syncStamps->value(key(post->id()));
    a.context.remove(post);
    // Elsewhere the post was deleted before, then edited back to life.
    editFolder([&](File &file) { file.tombstones = DateMap{{key(post->id()), stamp.addSecs(-10)}}; });
    sync(a);
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(decode(*folder).tombstones.value_or(DateMap{}).value(key(post->id())), now);
}

TEST_F(SyncMergeTest, ANewerRecordWithoutChannelDataKeepsTheMessagesSentFromHere)
{
    auto post = a.addPost("https://weibo.com/1");
    const QDateTime sentAt = now;
    post->setTelegramMessageIDs({7, 8});
    post->setTelegramSyncedAt(sentAt);
    sync(a);
    // A device without the plug-in edits the note and hands on no channel data.
    editFolder([&](File &file) {
        file.posts[0].note = "from the phone";
        file.posts[0].telegramMessageIDs.clear();
        file.posts[0].telegramSyncedAt.reset();
        file.syncStamps->insert(key(post->id()), now.addSecs(30));
    });
    sync(a);
    EXPECT_EQ(post->note(), "from the phone");
    EXPECT_EQ(post->telegramMessageIDs(), (QList<qint64>{7, 8}));
    EXPECT_EQ(post->telegramSyncedAt(), sentAt);
}

TEST_F(SyncMergeTest, ANewerOrDamagedDocumentLeavesStoreAndStateUntouched)
{
    a.addPost("https://weibo.com/1");
    sync(a);
    QFile state(a.statePath);
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    const QByteArray before = state.readAll();
    state.close();
    auto edited = a.context.fetch<Post>().first();
    edited->setNote("pending");
    editFolder([](File &file) {
        file.version = 2;
        file.posts.clear();
    });
    for (const QByteArray &bytes : {*folder, QByteArray("{")}) {
        EXPECT_THROW(Sync::merge(bytes, a.context, a.statePath, now), BackupError);
        EXPECT_EQ(a.count(), 1);
        ASSERT_TRUE(state.open(QIODevice::ReadOnly));
        EXPECT_EQ(state.readAll(), before);
        state.close();
    }
}

TEST_F(SyncMergeTest, TheSideWithTheLargerIdAdoptsTheSmallerOne)
{
    auto large = a.addPost("https://weibo.com/same"), small = b.addPost("https://weibo.com/same");
    large->setId(QUuid("FFFFFFFF-0000-4000-8000-000000000000"));
    small->setId(QUuid("00000000-0000-4000-8000-000000000000"));
    QList<std::pair<QUuid, QUuid>> changes;
    KepselHooks::postIDChanged().append([&](const QUuid &from, const QUuid &to) {
        changes.append({from, to});
    });

    sync(b);
    sync(a);
    EXPECT_EQ(changes,
              (QList<std::pair<QUuid, QUuid>>{{QUuid("FFFFFFFF-0000-4000-8000-000000000000"), small->id()}}));
    EXPECT_EQ(large->id(), small->id());
}

TEST_F(SyncMergeTest, AnAdoptedPostIsNamedByItsNewIdInEveryList)
{
    Device &device = a;
    const QUuid larger("BBBBBBBB-0000-4000-8000-000000000000"),
        smaller("AAAAAAAA-0000-4000-8000-000000000000");
    File file;
    file.exportedAt = now;
    PostRecord record;
    record.sourceURL = "https://weibo.com/twin";
    record.platform = "weibo";
    record.createdAt = record.updatedAt = now;
    record.parseState = "failed";
    record.id = larger;
    file.posts.append(record);
    record.id = smaller;
    file.posts.append(record);
    folder = encode(file);

    const Sync::Result result = sync(device);
    EXPECT_EQ(result.toRefresh, QList<QUuid>{smaller});
    EXPECT_EQ(Sync::incomingPosts(), QSet<QString>{key(smaller)});
}

TEST_F(SyncMergeTest, AnIdUsedElsewhereIsNotAdoptedButInsertedAsItsOwnPost)
{
    auto local = a.addPost("https://weibo.com/same");
    const QUuid localID("FFFFFFFF-0000-4000-8000-000000000000");
    local->setId(localID);
    sync(a);
    const QUuid tombstoned("00000000-0000-4000-8000-000000000001"),
        shared("00000000-0000-4000-8000-000000000002");
    editFolder([&](File &file) {
        PostRecord record = file.posts[0];
        record.id = tombstoned;
        file.posts.append(record);
        file.syncStamps->insert(key(tombstoned), now.addSecs(30));
        file.tombstones = DateMap{{key(tombstoned), now.addSecs(-30)}};
    });
    EXPECT_EQ(sync(a).added, 1);
    EXPECT_EQ(local->id(), localID);

    auto other = b.addPost("https://weibo.com/b");
    other->setId(localID);
    File file = decode(*folder);
    file.posts = {file.posts[0]};
    file.posts[0].id = shared;
    file.posts[0].sourceURL = other->sourceURL();
    file.tags = {{shared, "a tag with the same id", "#000000", now}};
    folder = encode(file);
    sync(b);
    EXPECT_EQ(other->id(), localID);
    EXPECT_EQ(b.count(), 2);
}

} // namespace
