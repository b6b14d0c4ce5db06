#include "../model/ModelFixture.h"
#include "ElidedLabel.h"
#include "RelativeTime.h"
#include "Screenshot.h"
#include "SyncStatus.h"
#include "Theme.h"
#include "WaitFor.h"

#include <QApplication>
#include <QFile>
#include <QToolButton>

namespace {

class SyncStatusTest : public ModelTest {
protected:
    SyncStatusTest() { makeModel(); }

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
    EXPECT_FALSE(syncButtonShown(status));
    const QString folder = chooseFolder();

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
    EXPECT_EQ(status.text(), *model->syncError());
    status.resize(190, 40); // the sidebar at its narrowest
    EXPECT_TRUE(saveScreenshot(status, QStringLiteral("sync-status-failed")));
    EXPECT_TRUE(status.findChild<ElidedLabel *>(QStringLiteral("syncText"))->shownText().endsWith(u'…'))
        << "a line too long is elided where it is painted";
}

TEST_F(SyncStatusTest, TheLineIsSecondaryTextInBothAppearances)
{
    chooseFolder();
    SyncStatus status(*model);
    status.resize(240, 40);
    status.show();
    const auto *text = status.findChild<ElidedLabel *>(QStringLiteral("syncText"));
    ASSERT_EQ(text->text(), QStringLiteral("等待同步"));
    const QPalette before = QApplication::palette();
    for (const auto appearance : {Theme::Appearance::dark, Theme::Appearance::light}) {
        QApplication::setPalette(Theme::palette(appearance));
        QCoreApplication::processEvents();
        EXPECT_EQ(text->palette().color(QPalette::WindowText), Theme::secondaryText(QApplication::palette()));
        EXPECT_LT(text->font().pointSizeF(), QApplication::font().pointSizeF()) << "a caption";
    }
    QApplication::setPalette(before);
}

TEST(RelativeTimeTest, ReadsAsWords)
{
    const QDateTime now(QDate(2026, 3, 10), QTime(9, 0));
    EXPECT_EQ(RelativeTime::text(now.addSecs(30), now), QStringLiteral("刚刚")) << "future";
    EXPECT_EQ(RelativeTime::text(now.addSecs(-30 * 3600), now), QStringLiteral("昨天"));
    EXPECT_EQ(RelativeTime::text(now.addDays(-15), now), QStringLiteral("2 周前"));
}

} // namespace
