#include "Post.h"
#include "StoreError.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class TamselStoreTest : public HomeTest {
protected:
    QString at(const QString &relative) const { return home.dataFolder() + QLatin1Char('/') + relative; }
};

TEST_F(TamselStoreTest, StoreLivesInTheKepselFolderAndKeepsWhatIsSaved)
{
    {
        auto container = TamselStore::makeContainer(false);
        EXPECT_EQ(container->storePath(), at("Kepsel/Kepsel.store"));
        container->mainContext().insert(
            std::make_shared<Post>(QStringLiteral("https://x.com/a"), Platform::x));
        container->mainContext().save();
    }
    EXPECT_EQ(TamselStore::makeContainer(false)->mainContext().fetch<Post>().size(), 1);
}

TEST_F(TamselStoreTest, FormerFolderStaysInUseWithItsOwnFileName)
{
    QDir(home.dataFolder()).mkpath(QStringLiteral("Plumvat"));
    auto container = TamselStore::makeContainer(false);
    EXPECT_EQ(container->storePath(), at("Plumvat/Plumvat.store"));
    EXPECT_EQ(container->supportDirectory(), at("Plumvat/.Plumvat_SUPPORT"));
    EXPECT_FALSE(QFileInfo::exists(at("Kepsel")));
}

TEST_F(TamselStoreTest, ObsoleteSettingsGoOnEveryOnDiskOpenOnly)
{
    auto &defaults = TamselStore::defaults();
    const QStringList obsolete{"cloudEnabled", "cloudURL", "cloudToken"};
    for (const QString &key : obsolete)
        defaults.setString(key, QStringLiteral("x"));
    defaults.setBool(QStringLiteral("iCloudSync"), true);

    TamselStore::makeContainer(true);
    EXPECT_TRUE(defaults.contains("cloudToken"));
    TamselStore::makeContainer(false);
    for (const QString &key : obsolete)
        EXPECT_FALSE(defaults.contains(key));
    EXPECT_TRUE(defaults.contains(QStringLiteral("iCloudSync")));
}

TEST_F(TamselStoreTest, UnopenableStoreOrFolderIsReportedWithoutTouchingIt)
{
    const auto previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const QByteArray text("not a database, just text that is long enough to have a header");
    for (const QString &blocked : {at("Kepsel/Kepsel.store"), at("Kepsel")}) {
        QDir(home.dataFolder()).removeRecursively();
        QDir().mkpath(QFileInfo(blocked).path());
        QFile file(blocked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();

        EXPECT_THROW(TamselStore::makeContainer(false), StoreError);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), text);
    }
    qInstallMessageHandler(previous);
}

} // namespace
