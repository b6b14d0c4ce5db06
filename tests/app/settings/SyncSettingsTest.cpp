#include "BackupFolder.h"
#include "MacModel.h"
#include "Media.h"
#include "MediaBackup.h"
#include "ModelContainer.h"
#include "Screenshot.h"
#include "SyncSettings.h"
#include "TamselStore.h"
#include "TestHome.h"
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
            QTest::qWaitFor([this] { return !model.syncing() && !MediaBackup::shared().running(); }, 5000));
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
        part<QPushButton>(view, "pick")->click();
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
        return syncing.count() >= 2 || QTest::qWaitFor([&] { return syncing.count() >= 2; }, 5000);
    }

    static QCheckBox *folderSwitch(const SyncSettings &view) { return part<QCheckBox>(view, "folderSwitch"); }
    static QPushButton *syncNow(const SyncSettings &view) { return part<QPushButton>(view, "syncNow"); }

    MacModel model;
};

TEST_F(SyncSettingsTest, PickingAFolderAdoptsItAndSyncsOnceAndSwitchingOffForgetsIt)
{
    SyncSettings view(model);
    EXPECT_FALSE(folderSwitch(view)->isEnabled()) << "no folder and no cloud drive to offer";
    EXPECT_FALSE(folderSwitch(view)->isChecked());
    EXPECT_FALSE(shows(view, "syncSection"));
    EXPECT_FALSE(shows(view, "location"));

    QSignalSpy syncs(&model, &MacModel::syncingChanged);
    const QString shared = folder("shared");
    pickThroughChooser(view, shared);
    EXPECT_EQ(BackupFolder::folderURL(), shared);
    EXPECT_TRUE(folderSwitch(view)->isChecked());
    EXPECT_TRUE(shows(view, "syncSection"));
    ASSERT_TRUE(waitForSync(syncs));
    QTest::qWait(50);
    EXPECT_EQ(syncs.count(), 2) << "one sync, started and ended";
    EXPECT_TRUE(model.lastSync().has_value());
    EXPECT_FALSE(model.syncError().has_value());

    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_EQ(TamselStore::defaults().object("macFolderAutoChosen"), QVariant(true));
    EXPECT_FALSE(folderSwitch(view)->isChecked());
    EXPECT_FALSE(folderSwitch(view)->isEnabled());
    EXPECT_FALSE(shows(view, "syncSection"));
    EXPECT_TRUE(QDir(shared).exists()) << "the folder itself stays";
}

TEST_F(SyncSettingsTest, TheSwitchAdoptsTheCloudFolderOnlyWhileOneExists)
{
    BackupFolder::setFolder(folder("elsewhere"));
    const QString cloud = cloudDrive() + "/Kepsel";
    QDir().mkpath(cloud);
    SyncSettings view(model);
    EXPECT_TRUE(folderSwitch(view)->isChecked());

    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_TRUE(folderSwitch(view)->isEnabled()) << "the cloud folder is on offer";

    folderSwitch(view)->click();
    EXPECT_EQ(BackupFolder::folderURL(), cloud);
    EXPECT_TRUE(folderSwitch(view)->isChecked());
    view.show();
    saveScreenshot(view, "settings-sync");

    folderSwitch(view)->click();
    QDir(home.path() + "/Library").removeRecursively();
    folderSwitch(view)->click();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_FALSE(folderSwitch(view)->isChecked());
}

TEST_F(SyncSettingsTest, TheSyncLineFollowsTheModel)
{
    // The sync waits while the shared file is only a cloud placeholder.
    const QString placeholder = folder("shared/Kepsel") + "/." + BackupFolder::latestName + ".icloud";
    QFile(placeholder).open(QIODevice::WriteOnly);
    BackupFolder::setFolder(folder("shared"));
    SyncSettings view(model);
    QLabel *last = part<QLabel>(view, "lastSync");
    EXPECT_EQ(last->text(), "还没有");

    syncNow(view)->click();
    ASSERT_TRUE(model.syncing());
    EXPECT_FALSE(syncNow(view)->isEnabled());
    EXPECT_TRUE(shows(view, "spinner"));
    QFile::remove(placeholder);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !model.syncing(); }, 5000));
    EXPECT_TRUE(syncNow(view)->isEnabled());
    EXPECT_FALSE(shows(view, "spinner"));
    EXPECT_EQ(last->text(), "现在");
}

TEST_F(SyncSettingsTest, AFolderThatCannotBeSyncedIsKeptAndItsErrorShows)
{
    // A file stands where the working folder must go (file permissions do not stop root).
    const QString broken = folder("broken");
    QFile(broken + "/Kepsel").open(QIODevice::WriteOnly);
    SyncSettings view(model);
    QSignalSpy syncs(&model, &MacModel::syncingChanged);
    pickThroughChooser(view, broken);
    ASSERT_TRUE(waitForSync(syncs));
    EXPECT_EQ(BackupFolder::folderURL(), broken);
    EXPECT_TRUE(folderSwitch(view)->isChecked());
    ASSERT_TRUE(model.syncError().has_value());
    EXPECT_TRUE(shows(view, "syncError"));
    EXPECT_EQ(part<QLabel>(view, "syncError")->text(), *model.syncError());
}

TEST_F(SyncSettingsTest, TheMediaRowCountsTheRunningBackup)
{
    BackupFolder::setFolder(folder("shared"));
    ModelContext &context = model.container().mainContext();
    for (int order = 0; order < 40; ++order) {
        auto medium = std::make_shared<Media>(MediaKind::image, order);
        medium->setImage(QByteArray("image ") + QByteArray::number(order));
        context.insert(medium);
    }
    context.save();
    SyncSettings view(model);
    EXPECT_FALSE(shows(view, "mediaRow"));
    QLabel *progress = part<QLabel>(view, "mediaProgress");

    std::optional<QString> atTwelve;
    QObject::connect(&MediaBackup::shared(), &MediaBackup::doneChanged, &view, [&](int done) {
        if (done == 12 && shows(view, "mediaRow") && !progress->isHidden())
            atTwelve = progress->text();
    });
    part<QCheckBox>(view, "mediaSwitch")->click();
    EXPECT_TRUE(MediaBackup::shared().running());
    ASSERT_TRUE(QTest::qWaitFor([] { return !MediaBackup::shared().running(); }, 5000));
    EXPECT_EQ(atTwelve, "12/40");
    EXPECT_FALSE(shows(view, "mediaRow")) << "done without error";
}

TEST_F(SyncSettingsTest, TheMediaRowShowsAFailedBackupWhileTheBackupIsOn)
{
    const QString shared = folder("shared");
    BackupFolder::setFolder(shared);
    // A file stands where the media folder must go.
    QDir().mkpath(BackupFolder::directory(shared));
    QFile(BackupFolder::directory(shared) + "/" + MediaBackup::folderName).open(QIODevice::WriteOnly);
    SyncSettings view(model);

    part<QCheckBox>(view, "mediaSwitch")->click();
    ASSERT_TRUE(QTest::qWaitFor([] { return !MediaBackup::shared().running(); }, 5000));
    ASSERT_TRUE(MediaBackup::shared().lastError().has_value());
    EXPECT_TRUE(shows(view, "mediaRow"));
    EXPECT_EQ(part<QLabel>(view, "mediaError")->text(), *MediaBackup::shared().lastError());

    part<QCheckBox>(view, "mediaSwitch")->click();
    EXPECT_FALSE(shows(view, "mediaRow"));
}

} // namespace
