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

TEST_F(TamselStoreTest, FormerFolderStaysInUseWithItsOwnFileName)
{
    EXPECT_EQ(TamselStore::makeContainer(false)->storePath(), at("Kepsel/Kepsel.store"));
    QDir(at("Kepsel")).removeRecursively();
    QDir(home.dataFolder()).mkpath(QStringLiteral("Plumvat"));
    auto container = TamselStore::makeContainer(false);
    EXPECT_EQ(container->storePath(), at("Plumvat/Plumvat.store"));
    EXPECT_FALSE(QFileInfo::exists(at("Kepsel")));
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

TEST_F(TamselStoreTest, TheOpenErrorCarriesItsCause)
{
    const auto previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const auto first = TamselStore::makeContainer(false);
    try {
        TamselStore::makeContainer(false);
        ADD_FAILURE() << "the library has one owner";
    } catch (const StoreError &error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Unable to create any ModelContainer: ")));
        EXPECT_TRUE(error.message().contains(QStringLiteral("in use by this program"))) << error.what();
    }
    qInstallMessageHandler(previous);
}

} // namespace
