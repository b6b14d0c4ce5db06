#include "BackupFolder.h"
#include "MacModel.h"
#include "Media.h"
#include "MediaBackup.h"
#include "ModelContainer.h"
#include "Screenshot.h"
#include "SyncSettings.h"
#include "TamselStore.h"
#include "TestHome.h"
#include "WaitFor.h"
#include "WidgetPart.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

class SyncSettingsTest : public HomeTest {
protected:
    SyncSettingsTest() { BackupFolder::resetLegacyMigrationForTesting(); }
    ~SyncSettingsTest() override
    {
        EXPECT_TRUE(
            QTest::qWaitFor([this] { return !model->syncing() && !MediaBackup::shared().running(); }, 10000));
    }

    QString folder(const QString &name) const
    {
        const QString path = home.path() + QLatin1Char('/') + name;
        QDir().mkpath(path);
        return path;
    }
    QString cloudDrive() const { return folder("Library/Mobile Documents/com~apple~CloudDocs"); }

    // Chooses the folder in the open folder chooser, as the user would.
    void pickThroughChooser(SyncSettings &view, const QString &path)
    {
        QTest::mouseClick(part<QPushButton>(view, "pick"), Qt::LeftButton);
        QFileDialog *chooser = view.chooser();
        ASSERT_TRUE(chooser);
        chooser->setDirectory(path);
        chooser->selectFile(path);
        QPushButton *accept = chooser->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
        ASSERT_TRUE(accept);
        accept->click();
    }

    // Waits for the sync that the model starts on its own after adopting a folder.
    static bool waitForSync(QSignalSpy &syncing)
    {
        return syncing.count() >= 2 || QTest::qWaitFor([&] { return syncing.count() >= 2; }, 10000);
    }

    // Waits for the sync under way, if any.
    bool waitForIdle() const
    {
        return QTest::qWaitFor([this] { return !model->syncing(); }, 10000);
    }

    // Quits and starts again, as far as the model and the settings go.
    void relaunch()
    {
        ASSERT_TRUE(waitForIdle());
        model.reset();
        model = std::make_unique<MacModel>();
    }

    static QCheckBox *folderSwitch(const SyncSettings &view) { return part<QCheckBox>(view, "folderSwitch"); }
    static QPushButton *syncNow(const SyncSettings &view) { return part<QPushButton>(view, "syncNow"); }

    std::unique_ptr<MacModel> model = std::make_unique<MacModel>();
};

TEST_F(SyncSettingsTest, PickingAFolderAdoptsItAndSyncsOnceAndSwitchingOffForgetsIt)
{
    SyncSettings view(*model);
    EXPECT_TRUE(part<QCheckBox>(view, "autoSync")->isChecked()) << "automatic sync is on in a fresh install";
    QSignalSpy syncs(model.get(), &MacModel::syncingChanged);
    const QString shared = folder("shared");
    pickThroughChooser(view, shared);
    EXPECT_EQ(BackupFolder::folderURL(), shared);
    ASSERT_TRUE(waitForSync(syncs));
    TestAsync::runTimersDueWithin(std::chrono::milliseconds(50));
    EXPECT_EQ(syncs.count(), 2) << "one sync, started and ended";
    EXPECT_FALSE(model->syncError().has_value());

    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_TRUE(QDir(shared).exists()) << "the folder itself stays";
}

TEST_F(SyncSettingsTest, TheSwitchAdoptsTheCloudFolderOnlyWhileOneExists)
{
    BackupFolder::setFolder(folder("elsewhere"));
    const QString cloud = cloudDrive() + "/Kepsel";
    QDir().mkpath(cloud);
    SyncSettings view(*model);
    EXPECT_TRUE(folderSwitch(view)->isChecked());

    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_TRUE(folderSwitch(view)->isEnabled()) << "the cloud folder is on offer";

    folderSwitch(view)->click();
    EXPECT_EQ(BackupFolder::folderURL(), cloud);
    view.resize(540, view.sizeHint().height());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    saveScreenshot(view, "settings-sync");

    folderSwitch(view)->click();
    QDir(home.path() + "/Library").removeRecursively();
    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_FALSE(folderSwitch(view)->isChecked());
}

TEST_F(SyncSettingsTest, SyncSwitchedOffStaysOffAtTheNextLaunch)
{
    // A folder of the user's own, and a cloud drive set up later.
    BackupFolder::setFolder(folder("shared"));
    const QString cloud = cloudDrive() + "/Kepsel";
    QDir().mkpath(cloud);
    {
        SyncSettings view(*model);
        view.show();
        clickSwitch(part<QCheckBox>(view, "autoSync"));
        clickSwitch(folderSwitch(view));
        EXPECT_FALSE(BackupFolder::isConfigured());
    }

    relaunch();
    EXPECT_FALSE(BackupFolder::isConfigured()) << "the cloud folder is not adopted again";
    SyncSettings view(*model);
    view.show();
    EXPECT_FALSE(folderSwitch(view)->isChecked());
    clickSwitch(folderSwitch(view));
    EXPECT_EQ(BackupFolder::folderURL(), cloud);
    EXPECT_FALSE(part<QCheckBox>(view, "autoSync")->isChecked()) << "automatic sync stays off too";
}

TEST_F(SyncSettingsTest, SyncNowCannotBePressedAgainWhileASyncRuns)
{
    const QString shared = folder("shared");
    BackupFolder::setFolder(shared);
    // While only the shared file's placeholder is there, the sync waits for its download.
    const QString working = BackupFolder::directory(shared);
    QDir().mkpath(working);
    QFile placeholder(working + "/" + BackupFolder::placeholderName(BackupFolder::latestName));
    ASSERT_TRUE(placeholder.open(QIODevice::WriteOnly));
    placeholder.close();
    SyncSettings view(*model);
    view.show();
    QSignalSpy syncs(model.get(), &MacModel::syncingChanged);

    QTest::mouseClick(syncNow(view), Qt::LeftButton);
    ASSERT_TRUE(model->syncing());
    EXPECT_TRUE(shows(view, "spinner"));
    EXPECT_FALSE(syncNow(view)->isEnabled());
    QTest::mouseClick(syncNow(view), Qt::LeftButton);

    placeholder.remove();
    ASSERT_TRUE(waitForIdle());
    EXPECT_EQ(syncs.count(), 2) << "one sync, started and ended";
    EXPECT_TRUE(syncNow(view)->isEnabled());
    EXPECT_FALSE(shows(view, "spinner"));
}

TEST_F(SyncSettingsTest, TheFolderChooserOpensInTheChosenFolderElseInTheHomeFolder)
{
    SyncSettings view(*model);
    QTest::mouseClick(part<QPushButton>(view, "pick"), Qt::LeftButton);
    ASSERT_TRUE(view.chooser());
    EXPECT_EQ(view.chooser()->directory(), QDir(QDir::homePath()));
    view.chooser()->reject();

    const QString shared = folder("shared");
    pickThroughChooser(view, shared);
    ASSERT_TRUE(waitForIdle());
    QTest::mouseClick(part<QPushButton>(view, "pick"), Qt::LeftButton);
    ASSERT_TRUE(view.chooser());
    EXPECT_EQ(view.chooser()->directory(), QDir(shared));
    view.chooser()->reject();
}

TEST_F(SyncSettingsTest, ALongFolderNameIsShortenedWithinTheWindowAndWholeOnHover)
{
    SyncSettings view(*model);
    const QString name = QStringLiteral("和手机共用的同步文件夹").repeated(6);
    pickThroughChooser(view, folder(name));
    ASSERT_TRUE(waitForIdle());
    const auto *shown = part<QLabel>(view, "folderName");
    EXPECT_TRUE(shown->toolTip().startsWith(name)) << "the whole name shows on hover";
    EXPECT_LE(shown->minimumSizeHint().width(), 300) << "the name leaves the 540-wide window its width";
}

TEST_F(SyncSettingsTest, AFolderThatCannotBeSyncedIsKeptAndItsErrorShows)
{
    // A file stands where the working folder must go (file permissions do not stop root).
    const QString broken = folder("broken");
    QFile(broken + "/Kepsel").open(QIODevice::WriteOnly);
    SyncSettings view(*model);
    QSignalSpy syncs(model.get(), &MacModel::syncingChanged);
    pickThroughChooser(view, broken);
    ASSERT_TRUE(waitForSync(syncs));
    EXPECT_EQ(BackupFolder::folderURL(), broken);
    ASSERT_TRUE(model->syncError().has_value());
    EXPECT_EQ(part<QLabel>(view, "syncError")->text(), *model->syncError());
}

TEST_F(SyncSettingsTest, TheMediaRowShowsAFailedBackupWhileTheBackupIsOn)
{
    const QString shared = folder("shared");
    BackupFolder::setFolder(shared);
    // A file stands where the media folder must go.
    QDir().mkpath(BackupFolder::directory(shared));
    QFile(BackupFolder::directory(shared) + "/" + MediaBackup::folderName).open(QIODevice::WriteOnly);
    SyncSettings view(*model);

    part<QCheckBox>(view, "mediaSwitch")->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return !MediaBackup::shared().running(); }, 10000));
    ASSERT_TRUE(MediaBackup::shared().lastError().has_value());
    EXPECT_TRUE(shows(view, "mediaRow"));
    EXPECT_EQ(part<QLabel>(view, "mediaError")->text(), *MediaBackup::shared().lastError());

    part<QCheckBox>(view, "mediaSwitch")->click();
    EXPECT_FALSE(shows(view, "mediaRow"));
}

} // namespace
