#include "AuthorGroup.h"
#include "BackupError.h"
#include "Board.h"
#include "Post.h"
#include "SyncHash.h"
#include "SyncState.h"
#include "Tag.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString postID = QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E");

TEST(SyncHashTest, HashesArePrefixesOfTheSha256OfTheJoinedParts)
{
    EXPECT_EQ(Sync::hash({}), "e3b0c44298fc1c149afbf4c8");
    EXPECT_EQ(Sync::hash({"abc"}), "ba7816bf8f01cfea414140de");
    EXPECT_EQ(Sync::hash({"a", "b"}), Sync::hash({QString("a") + QChar(0x1F) + "b"}));
}

class SyncSnapshotTest : public HomeTest {
protected:
    std::shared_ptr<Tag> addTag(const char *name)
    {
        auto tag = std::make_shared<Tag>(name, "#D97757");
        context.insert(tag);
        return tag;
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(true);
    ModelContext &context = container->mainContext();
};

TEST_F(SyncSnapshotTest, PostHashesFollowTheSyncedFieldsOnly)
{
    auto post = std::make_shared<Post>("https://weibo.com/1", Platform::weibo);
    context.insert(post);
    auto a = addTag("a"), b = addTag("b");
    post->setTags({a, b});
    const QString tagged = Sync::postHash(*post);
    post->setTags({b, a});
    EXPECT_EQ(Sync::postHash(*post), tagged) << "tag order does not count";
    post->setTitle("parsed title");
    post->setParseState(ParseState::failed);
    EXPECT_EQ(Sync::postHash(*post), tagged) << "parsed fields do not count";
    post->setTags({a});
    EXPECT_NE(Sync::postHash(*post), tagged);

    post->setTelegramSyncedAt(QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));
    post->setTelegramMessageIDs({3, 1});
    EXPECT_EQ(Sync::postHash(*post),
              Sync::hash({"", "false", "false", a->id().toString(QUuid::WithoutBraces).toUpper(), "", "3,1",
                          "1700000000.0"}));
}

TEST_F(SyncSnapshotTest, GroupsHashTheirStarOnlyWhenStarredAndTheSnapshotSkipsDeletedRecords)
{
    auto group = std::make_shared<AuthorGroup>("p", QList<AuthorAccount>{});
    context.insert(group);
    EXPECT_EQ(Sync::groupHash(*group), Sync::hash({"p", ""}));
    group->setStarred(true);
    EXPECT_EQ(Sync::groupHash(*group), Sync::hash({"p", "", "starred", "0.0"}));

    auto board = std::make_shared<Board>("b", "s");
    context.insert(board);
    auto tag = addTag("t");
    context.save();
    context.remove(tag);
    const Sync::Snapshot snapshot = Sync::snapshot(context);
    EXPECT_EQ(snapshot.size(), 2);
    EXPECT_FALSE(snapshot.contains(tag->id().toString(QUuid::WithoutBraces).toUpper()));
}

class SyncStateFileTest : public HomeTest {
protected:
    QString path = QDir(home.path()).filePath("store/SyncState.json");

    void writeRaw(const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList asideFiles() const
    {
        return QFileInfo(path).dir().entryList({"SyncState.unreadable-*"}, QDir::Files);
    }
};

TEST_F(SyncStateFileTest, AnUnreadableStateIsKeptAsideAndTheMergeStartsEmpty)
{
    const QByteArray noTombstones = R"({"hashes": {}, "stamps": {}})";
    EXPECT_THROW(Sync::State::decode(noTombstones), Backup::BackupError);
    writeRaw(noTombstones);
    EXPECT_EQ(Sync::State::read(path), Sync::State{});
    ASSERT_EQ(asideFiles().size(), 1);
    QFile aside(QFileInfo(path).dir().filePath(asideFiles().first()));
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), noTombstones);
}

TEST_F(SyncStateFileTest, KeysAreReadAsUpperCaseIdsAndTheNewerStampOfTwoCasesWins)
{
    writeRaw(R"({"hashes": {"0f8fad5b-d9cb-469f-a165-70867728950e": "h"},
                 "stamps": {"0F8FAD5B-D9CB-469F-A165-70867728950E": "2024-06-01T00:00:00Z",
                            "0f8fad5b-d9cb-469f-a165-70867728950e": "2024-01-01T00:00:00Z"},
                 "tombstones": {"7C9E6679-7425-40DE-944B-E07FC1F90AE7": "2024-01-01T00:00:00Z",
                                "7c9e6679-7425-40de-944b-e07fc1f90ae7": "2024-06-01T00:00:00Z"}})");
    const Sync::State state = Sync::State::read(path);
    EXPECT_EQ(state.hashes.value(postID), "h");
    const QDateTime newer(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
    EXPECT_EQ(state.stamps, (Backup::DateMap{{postID, newer}}));
    EXPECT_EQ(state.tombstones, (Backup::DateMap{{"7C9E6679-7425-40DE-944B-E07FC1F90AE7", newer}}));
}

} // namespace
