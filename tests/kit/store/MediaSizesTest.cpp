#include "Media.h"
#include "MediaSizes.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <sqlite3.h>

namespace {

class MediaSizesTest : public HomeTest {
protected:
    ModelContext &context() { return container->mainContext(); }

    std::shared_ptr<Media> insertMedia(qint64 dataSize, int bytes)
    {
        auto media = std::make_shared<Media>(MediaKind::image, 0);
        media->setDataSize(dataSize);
        media->setData(QByteArray(bytes, 'i'));
        context().insert(media);
        return media;
    }

    void runOnStore(const char *sql)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(container->storePath().toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    bool recorded()
    {
        return MediaSizes::ready() && TamselStore::defaults().boolValue(MediaSizes::settingKey);
    }

    std::unique_ptr<ModelContainer> container = TamselStore::makeContainer(false);
};

TEST_F(MediaSizesTest, YieldsEveryTenRecordsAndNeverOverwritesARecordedSize)
{
    QList<std::shared_ptr<Media>> media;
    for (int i = 0; i < 20; ++i)
        media.append(insertMedia(0, 10 + i));
    const auto keeps = insertMedia(500, 800);
    context().save();

    auto run = MediaSizes::backfillIfNeeded(context());
    ASSERT_FALSE(run.isReady());
    EXPECT_EQ(media[9]->dataSize(), 19);
    EXPECT_EQ(media[10]->dataSize(), 0) << "suspended after the tenth record";

    QCoro::waitFor(run);
    EXPECT_EQ(media[19]->dataSize(), 29);
    EXPECT_EQ(keeps->dataSize(), 500);
    EXPECT_FALSE(context().hasChanges());
    EXPECT_TRUE(recorded());
}

TEST_F(MediaSizesTest, FailedSaveLeavesTheLibraryUnrecordedForTheNextRun)
{
    insertMedia(0, 10);
    context().save();
    runOnStore(
        "CREATE TRIGGER refuse BEFORE UPDATE ON \"Media\" BEGIN SELECT RAISE(ABORT, 'disk is full'); END");

    QCoro::waitFor(MediaSizes::backfillIfNeeded(context()));
    EXPECT_FALSE(MediaSizes::ready());
    EXPECT_FALSE(TamselStore::defaults().contains(MediaSizes::settingKey));

    runOnStore("DROP TRIGGER refuse");
    QCoro::waitFor(MediaSizes::backfillIfNeeded(context()));
    EXPECT_TRUE(recorded());
}

} // namespace
