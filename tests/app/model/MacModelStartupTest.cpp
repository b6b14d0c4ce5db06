#include "ManualWaits.h"
#include "ModelFixture.h"

#include <gtest/gtest.h>

namespace {

class MacModelStartupTest : public ModelTest {
protected:
    QString driveFolder(const QString &name = {})
    {
        const QString folder =
            home.path() + QStringLiteral("/Library/Mobile Documents/com~apple~CloudDocs/") + name;
        QDir().mkpath(folder);
        return QDir::cleanPath(folder);
    }
    void restart()
    {
        model.reset();
        makeModel();
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
    // The drive alone, or a file named like the folder: asked again next time.
    QFile(driveFolder() + QStringLiteral("/Kepsel")).open(QIODevice::WriteOnly);
    restart();
    EXPECT_FALSE(BackupFolder::isConfigured());
    EXPECT_FALSE(autoChosen());

    QFile::remove(driveFolder() + QStringLiteral("/Kepsel"));
    // Made before the lookup: argument order is unspecified.
    const QString legacy = driveFolder(QStringLiteral("Plumvat"));
    EXPECT_EQ(MacModel::iCloudKepselFolder(), legacy);
    const QString folder = driveFolder(QStringLiteral("Kepsel"));
    restart();
    EXPECT_EQ(BackupFolder::folderURL(), folder);
    EXPECT_TRUE(autoChosen());

    // A folder the user cleared stays cleared.
    BackupFolder::clear();
    restart();
    EXPECT_FALSE(BackupFolder::isConfigured());
}

TEST_F(MacModelStartupTest, ANewerToastKeepsItsOwnFullTime)
{
    ManualWaits waits;
    MacModel::Delays delays = shortDelays();
    delays.wait = waits.function();
    makeModel(delays);
    QStringList seen;
    QObject::connect(model.get(), &MacModel::toastChanged,
                     [&] { seen << model->toast().value_or(QStringLiteral("-")); });
    model->show(QStringLiteral("一"));
    model->show(QStringLiteral("二"));
    ASSERT_EQ(waits.pending(delays.toast), 2);

    ASSERT_TRUE(waits.endFirst(delays.toast));
    EXPECT_EQ(model->toast(), QStringLiteral("二")) << "the first toast's time ends, not the second's";
    ASSERT_TRUE(waits.endFirst(delays.toast));
    EXPECT_EQ(seen, QStringList({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("-")}));
}

} // namespace
