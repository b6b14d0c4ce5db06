#include "ModelFixture.h"
#include "SettingsKey.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class MacModelStartupTest : public ModelTest {
protected:
    QString makeDriveFolder(const QString &name = {})
    {
        const QString drive = home.path() + QStringLiteral("/Library/Mobile Documents/com~apple~CloudDocs");
        const QString folder = name.isEmpty() ? drive : drive + QLatin1Char('/') + name;
        QDir().mkpath(folder);
        return folder;
    }
    static bool autoChosen()
    {
        return TamselStore::defaults().boolValue(QStringLiteral("macFolderAutoChosen"));
    }
};

TEST_F(MacModelStartupTest, AdoptsTheCloudDriveFolderOnceOnly)
{
    makeModel();
    EXPECT_FALSE(MacModel::iCloudKepselFolder());
    EXPECT_FALSE(BackupFolder::isConfigured());
    model.reset();

    // The drive without the application's folder: nothing chosen, asked again next time.
    makeDriveFolder();
    makeModel();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_FALSE(autoChosen());
    model.reset();

    const QString legacy = makeDriveFolder(QStringLiteral("Plumvat"));
    EXPECT_EQ(MacModel::iCloudKepselFolder(), legacy);
    const QString folder = makeDriveFolder(QStringLiteral("Kepsel"));
    makeModel();
    EXPECT_EQ(BackupFolder::folderURL(), folder);
    EXPECT_TRUE(autoChosen());
    model.reset();

    // Once chosen, a folder the user cleared stays cleared.
    BackupFolder::clear();
    makeModel();
    EXPECT_FALSE(BackupFolder::isConfigured());
}

TEST_F(MacModelStartupTest, AFileNamedLikeTheFolderIsNotAdopted)
{
    const QString drive = makeDriveFolder();
    QFile file(drive + QStringLiteral("/Kepsel"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    makeModel();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_FALSE(autoChosen());
}

TEST_F(MacModelStartupTest, ReadsTheLastSyncTimeAndTheVideoSetting)
{
    UserDefaults &defaults = TamselStore::defaults();
    defaults.setNumber(BackupFolder::lastSyncKey, -5);
    makeModel();
    EXPECT_FALSE(model->lastSync());
    model.reset();
    defaults.setNumber(BackupFolder::lastSyncKey, 1700000000.5);
    makeModel();
    EXPECT_EQ(model->lastSync(), QDateTime::fromMSecsSinceEpoch(1700000000500));

    EXPECT_TRUE(MacModel::downloadVideos());
    defaults.setString(SettingsKey::downloadVideos, QStringLiteral("no"));
    EXPECT_TRUE(MacModel::downloadVideos());
    defaults.setBool(SettingsKey::downloadVideos, false);
    EXPECT_FALSE(MacModel::downloadVideos());
}

TEST_F(MacModelStartupTest, ANewerToastKeepsItsOwnFullTime)
{
    MacModel::Delays delays = shortDelays();
    delays.toast = std::chrono::milliseconds(200);
    makeModel(delays);
    QStringList seen;
    QElapsedTimer sinceSecond;
    qint64 shownFor = -1;
    QObject::connect(model.get(), &MacModel::toastChanged, [&] {
        seen << model->toast().value_or(QStringLiteral("-"));
        if (!model->toast())
            shownFor = sinceSecond.elapsed();
    });
    model->show(QStringLiteral("一"));
    idle(std::chrono::milliseconds(100));
    model->show(QStringLiteral("二"));
    sinceSecond.start();
    EXPECT_TRUE(settle([&] { return !model->toast(); }));
    EXPECT_EQ(seen, QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("-")}));
    // Coarse timers may fire up to 5 % early.
    EXPECT_GE(shownFor, 190);
}

TEST_F(MacModelStartupTest, TheTaskbarEntryGoesOnlyWhenTheTrayKeepsTheApplication)
{
    makeModel();
    QString opened;
    model->setOpenWindowAction([&](const QString &identifier) { opened = identifier; });
    model->mainWindowClosed();
    EXPECT_TRUE(settle([&] { return model->activationPolicy() == MacModel::ActivationPolicy::accessory; }));
    model->openMainWindow();
    EXPECT_EQ(model->activationPolicy(), MacModel::ActivationPolicy::regular);
    EXPECT_EQ(opened, QStringLiteral("main"));

    TamselStore::defaults().setBool(QStringLiteral("menuBarHideDock"), false);
    model->mainWindowClosed();
    idle();
    EXPECT_EQ(model->activationPolicy(), MacModel::ActivationPolicy::regular);
}

} // namespace
