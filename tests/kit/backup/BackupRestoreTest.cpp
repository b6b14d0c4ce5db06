#include "BackupCoder.h"
#include "BackupError.h"
#include "BackupExport.h"
#include "BackupRestore.h"
#include "BackupSettings.h"
#include "BackupSummary.h"
#include "Clock.h"
#include "Library.h"
#include "TestHome.h"

#include <gtest/gtest.h>

using namespace Backup;

namespace {

class BackupRestoreTest : public HomeTest {
protected:
    void SetUp() override
    {
        Clock::setSource([this] { return now; });
    }

    PostRecord postRecord(const QString &link, const QString &platform = "weibo")
    {
        PostRecord record;
        record.id = QUuid::createUuid();
        record.sourceURL = link;
        record.platform = platform;
        record.createdAt = record.updatedAt = now;
        record.parseState = "parsed";
        return record;
    }
    QByteArray documentOf(const QList<PostRecord> &posts, qint64 version = formatVersion)
    {
        File file;
        file.version = version;
        file.exportedAt = now;
        file.posts = posts;
        return encode(file);
    }

    QDateTime now = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
    Library here;
    Library there;
};

TEST_F(BackupRestoreTest, AnExportedLibraryRestoresToTheSameDocument)
{
    auto post = here.addPost("https://weibo.com/1");
    post->setNote("mine");
    post->setTelegramMessageID(40);
    post->setPublishedAt(now.addDays(-1));
    auto second = std::make_shared<Media>(MediaKind::video, 1),
         first = std::make_shared<Media>(MediaKind::image, 0);
    second->setVideoRemoteURL("https://v/1.mp4");
    post->setMedia({second, first});
    post->setTags({here.addTag("t")});
    post->setBoards({here.addBoard("b", "weibo\ta")});
    here.addGroup("weibo\ta\nx\tb", true);

    const File file = makeFile(here.context);
    EXPECT_EQ(file.posts.first().telegramMessageIDs, (QList<qint64>{40, 41})) << "one id per medium";

    const QByteArray bytes = encode(file);
    restore(bytes, there.context);
    there.find(post->id())->setParseStateRaw(post->parseStateRaw());
    EXPECT_EQ(encode(makeFile(there.context)), bytes);
}

TEST_F(BackupRestoreTest, RestoredPostsAreOnDiskWhenTheStoreIsOpenedAgain)
{
    const PostRecord record = postRecord("https://weibo.com/1");
    restore(documentOf({record}), TamselStore::makeContainer(false)->mainContext());
    const auto reopened = TamselStore::makeContainer(false);
    const auto posts = reopened->mainContext().fetch<Post>();
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts[0]->id(), record.id);
}

TEST_F(BackupRestoreTest, RestoringAddsOnlyWhatTheLibraryLacks)
{
    here.addPost("https://weibo.com/known");
    const PostRecord byLink = postRecord("https://weibo.com/known");
    const PostRecord noLink = postRecord("", "local"), twinA = postRecord("https://weibo.com/twin"),
                     twinB = postRecord("https://weibo.com/twin");
    const QByteArray bytes = documentOf({byLink, noLink, twinA, twinB});

    EXPECT_EQ(restore(bytes, here.context).added, 3);
    EXPECT_EQ(restore(bytes, here.context).added, 0);
    EXPECT_EQ(Backup::summary(bytes).missing(here.context), 0);
}

TEST_F(BackupRestoreTest, MatchedTagsAndBoardsKeepTheirOwnFieldsExceptMissingAuthors)
{
    auto tag = here.addTag("same");
    auto bare = here.addBoard("bare"), linked = here.addBoard("linked", "weibo\tmine");
    File file;
    file.exportedAt = now;
    file.tags = {{QUuid::createUuid(), "same", "#000000", now}};
    file.boards = {{QUuid::createUuid(), "bare", "", now, "weibo\ttheirs"},
                   {QUuid::createUuid(), "linked", "", now, "weibo\ttheirs"}};
    PostRecord post = postRecord("https://weibo.com/1");
    post.tagIDs = {file.tags[0].id, QUuid::createUuid()};
    file.posts = {post};
    restore(encode(file), here.context);

    EXPECT_EQ(tag->colorHex(), "#D97757");
    EXPECT_EQ(here.find(post.id)->tags(), QList<std::shared_ptr<Tag>>{tag});
    EXPECT_EQ(bare->authorsRaw(), "weibo\ttheirs");
    EXPECT_EQ(linked->authorsRaw(), "weibo\tmine");
}

TEST_F(BackupRestoreTest, GroupsAreRestoredOnlyAsNewPersons)
{
    here.addGroup("weibo\ttaken\nx\tother");
    File file;
    file.exportedAt = now;
    const auto group = [&](const char *members, std::optional<bool> starred) {
        return AuthorGroupRecord{QUuid::createUuid(), "p", members, now, starred, std::nullopt};
    };
    file.authorGroups = QList<AuthorGroupRecord>{
        group("weibo\tone", std::nullopt), group("", true), group("weibo\ttaken\nx\tfree", std::nullopt),
        group("weibo\tstar", true), group("weibo\ta\nx\tb", std::nullopt)};
    restore(encode(file), here.context);
    EXPECT_EQ(here.count<AuthorGroup>(), 3);
}

TEST_F(BackupRestoreTest, AddedPostsWithALinkAreParsedAgain)
{
    PostRecord note = postRecord("", "local"), web = postRecord("https://weibo.com/1"),
               localLink = postRecord("https://a/1", "local"), odd = postRecord("https://weibo.com/2");
    note.parseState = "failed";
    note.parseError = "e";
    odd.parseState = "strange";
    const RestoreResult result = restore(documentOf({note, web, localLink, odd}), here.context);
    EXPECT_EQ(result.toRefresh, (QList<QUuid>{web.id, odd.id}));
    EXPECT_EQ(here.find(note.id)->parseStateRaw(), "failed");
}

TEST_F(BackupRestoreTest, SettingsNeverOverwriteWhatIsSetHere)
{
    UserDefaults &defaults = TamselStore::defaults();
    const QMap<QString, SettingValue> carried{{"telegramToken", QString()},
                                              {"telegramEnabled", true},
                                              {"appearance", QString("dark")},
                                              {"allowDuplicates", true}};
    defaults.setBool("allowDuplicates", false);
    restoreSettings(carried);
    EXPECT_FALSE(defaults.boolValue("allowDuplicates"));

    defaults.setString("telegramToken", "local");
    defaults.setBool("telegramEnabled", false);
    restoreSettings({{"telegramToken", QString("remote")}, {"telegramEnabled", true}});
    EXPECT_EQ(defaults.string("telegramToken"), "local");
}

TEST_F(BackupRestoreTest, OnlyARestoreThatAddsPostsMarksPostsAsRestored)
{
    auto old = here.addPost("https://weibo.com/old");
    restore(documentOf({}), here.context);
    EXPECT_FALSE(isFromRestore(*old));
    now = now.addSecs(10);
    restore(documentOf({postRecord("https://weibo.com/new")}), here.context);
    EXPECT_TRUE(isFromRestore(*old));
}

TEST_F(BackupRestoreTest, ANewerDocumentChangesNothing)
{
    PostRecord record = postRecord("https://weibo.com/1");
    File file;
    file.version = 2;
    file.exportedAt = now;
    file.posts = {record};
    file.tags = {{QUuid::createUuid(), "t", "#000000", now}};
    EXPECT_THROW(restore(encode(file), here.context), BackupError);
    EXPECT_FALSE(here.context.hasChanges());
}

} // namespace
