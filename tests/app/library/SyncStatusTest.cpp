#include "../model/ModelFixture.h"
#include "Clock.h"
#include "RelativeTime.h"
#include "Screenshot.h"
#include "SyncStatus.h"
#include "WaitFor.h"

#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

namespace {

class SyncStatusTest : public ModelTest {
protected:
    SyncStatusTest() { makeModel(); }
    ~SyncStatusTest() override { Clock::setSource({}); }

    void sync() { TestAsync::waitFor(model->sync(true)); }
    bool syncButtonShown(const SyncStatus &status) const
    {
        return !status.findChild<QToolButton *>(QStringLiteral("syncNow"))->isHidden();
    }
    bool syncButtonEnabled(const SyncStatus &status) const
    {
        return status.findChild<QToolButton *>(QStringLiteral("syncNow"))->isEnabled();
    }
};

TEST_F(SyncStatusTest, ShowsTheFirstStateThatHolds)
{
    SyncStatus status(*model);
    EXPECT_EQ(status.symbol(), QStringLiteral("icloud.slash"));
    EXPECT_FALSE(syncButtonShown(status));

    const QString folder = chooseFolder();
    EXPECT_EQ(status.symbol(), QStringLiteral("checkmark.icloud"));
    EXPECT_TRUE(syncButtonShown(status));

    QStringList whileSyncing;
    const auto watch = QObject::connect(model.get(), &MacModel::syncingChanged, &status, [&] {
        if (!model->syncing())
            return;
        whileSyncing << status.symbol() << status.text() << QString::number(syncButtonEnabled(status));
        BackupFolder::clear();
        whileSyncing << status.text() << QString::number(syncButtonShown(status));
    });
    sync();
    QObject::disconnect(watch);
    EXPECT_EQ(whileSyncing, (QStringList{"", "正在同步…", "0", "正在同步…", "0"})) << "the spinner wins";

    BackupFolder::setFolder(folder);
    QFile damaged(folder + QLatin1Char('/') + BackupFolder::latestName);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{ damaged");
    damaged.close();
    sync();
    ASSERT_TRUE(model->syncError());
    EXPECT_EQ(status.symbol(), QStringLiteral("exclamationmark.icloud"));
    EXPECT_EQ(status.text(), *model->syncError());
    EXPECT_TRUE(syncButtonEnabled(status));
    status.resize(240, 40);
    EXPECT_TRUE(saveScreenshot(status, QStringLiteral("sync-status-failed")));
    EXPECT_TRUE(status.findChild<QLabel *>(QStringLiteral("syncText"))->text().endsWith(u'…'))
        << "a line too long is elided where it is painted";
}

TEST_F(SyncStatusTest, TellsTheTimeSinceTheLastSyncAsItPasses)
{
    chooseFolder();
    SyncStatus status(*model);
    sync();
    ASSERT_TRUE(model->lastSync());
    EXPECT_EQ(status.text(), QStringLiteral("已同步 · 刚刚"));

    const QDateTime later = model->lastSync()->addSecs(5 * 60 + 10);
    Clock::setSource([later] { return later; });
    const auto *timer = status.findChild<QTimer *>();
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isActive());
    status.refresh();
    EXPECT_EQ(status.text(), QStringLiteral("已同步 · 5 分钟前"));
}

TEST(RelativeTimeTest, ReadsAsWords)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(9, 0));
    EXPECT_EQ(RelativeTime::text(now.addSecs(30), now), QStringLiteral("刚刚")) << "future";
    EXPECT_EQ(RelativeTime::text(now.addSecs(-59), now), QStringLiteral("刚刚"));
    EXPECT_EQ(RelativeTime::text(now.addSecs(-3 * 3600), now), QStringLiteral("3 小时前"));
    EXPECT_EQ(RelativeTime::text(now.addSecs(-30 * 3600), now), QStringLiteral("昨天"));
    EXPECT_EQ(RelativeTime::text(now.addDays(-3), now), QStringLiteral("3 天前"));
    EXPECT_EQ(RelativeTime::text(now.addDays(-15), now), QStringLiteral("2 周前"));
    EXPECT_EQ(RelativeTime::text(now.addDays(-400), now), QStringLiteral("1 年前"));
}

} // namespace
