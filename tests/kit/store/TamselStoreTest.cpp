#include "Post.h"
#include "StoreError.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QStringList &capturedLog()
{
    static QStringList lines;
    return lines;
}

void captureMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg)
        capturedLog().append(QString::fromLatin1(context.category) + QLatin1Char(' ') + message);
}

class TamselStoreTest : public HomeTest {
protected:
    QString base() const { return home.dataFolder(); }
};

TEST_F(TamselStoreTest, StoreLivesInTheKepselFolderOfTheDataFolder)
{
    EXPECT_EQ(TamselStore::storeDirectory(), base() + QStringLiteral("/Kepsel"));
    EXPECT_TRUE(QFileInfo(base() + QStringLiteral("/Kepsel")).isDir());
    {
        auto container = TamselStore::makeContainer(false);
        EXPECT_EQ(container->storePath(), base() + QStringLiteral("/Kepsel/Kepsel.store"));
        container->mainContext().insert(
            std::make_shared<Post>(QStringLiteral("https://x.com/a"), Platform::x));
        container->mainContext().save();
    }
    EXPECT_EQ(TamselStore::makeContainer(false)->mainContext().fetch<Post>().size(), 1);
}

TEST_F(TamselStoreTest, FormerFolderStaysInUseWithItsOwnFileName)
{
    QDir(base()).mkpath(QStringLiteral("Plumvat"));
    auto container = TamselStore::makeContainer(false);
    EXPECT_EQ(container->storePath(), base() + QStringLiteral("/Plumvat/Plumvat.store"));
    EXPECT_EQ(container->supportDirectory(), base() + QStringLiteral("/Plumvat/.Plumvat_SUPPORT"));
    EXPECT_FALSE(QFileInfo::exists(base() + QStringLiteral("/Kepsel")));
}

TEST_F(TamselStoreTest, ObsoleteSettingsGoOnEveryOnDiskOpenOnly)
{
    auto &defaults = TamselStore::defaults();
    const QStringList obsolete{"cloudEnabled", "cloudURL", "cloudToken"};
    for (const QString &key : obsolete)
        defaults.setString(key, QStringLiteral("x"));
    defaults.setBool(QStringLiteral("iCloudSync"), true);

    TamselStore::makeContainer(true);
    for (const QString &key : obsolete)
        EXPECT_TRUE(defaults.contains(key));
    EXPECT_FALSE(QFileInfo::exists(base() + QStringLiteral("/Kepsel")));

    TamselStore::makeContainer(false);
    for (const QString &key : obsolete)
        EXPECT_FALSE(defaults.contains(key));
    EXPECT_TRUE(defaults.contains(QStringLiteral("iCloudSync")));
}

TEST_F(TamselStoreTest, UnopenableStoreIsLoggedAndReportedWithoutTouchingIt)
{
    QDir(base()).mkpath(QStringLiteral("Kepsel"));
    const QString storePath = base() + QStringLiteral("/Kepsel/Kepsel.store");
    QFile file(storePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a database, just text that is long enough to have a header");
    file.close();

    capturedLog().clear();
    const auto previous = qInstallMessageHandler(captureMessage);
    try {
        TamselStore::makeContainer(false);
        ADD_FAILURE() << "expected StoreError";
    } catch (const StoreError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Unable to create any ModelContainer"));
    }
    qInstallMessageHandler(previous);

    ASSERT_EQ(capturedLog().size(), 1);
    EXPECT_TRUE(capturedLog().first().startsWith(QStringLiteral("KepselKit ModelContainer failed for ") +
                                                 storePath + QStringLiteral(": ")))
        << capturedLog().first().toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not a database, just text that is long enough to have a header"));
}

TEST_F(TamselStoreTest, FolderThatCannotBeWrittenIsReported)
{
    QFile blocker(base() + QStringLiteral("/Kepsel"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    const auto previous = qInstallMessageHandler(captureMessage);
    EXPECT_THROW(TamselStore::makeContainer(false), StoreError);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile());
}

} // namespace
