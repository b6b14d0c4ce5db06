#include "StoreMigration.h"
#include "TamselStore.h"
#include "TestHome.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

// The one-time folder move runs at the first store-folder read of a process,
// so these cases live in a program of their own.
namespace {

void makeLegacyLibrary(const TestHome &home)
{
    QDir(home.dataFolder()).mkpath(StoreMigration::legacyName);
    QFile store(home.dataFolder() + QStringLiteral("/Plumvat/Plumvat.store"));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write("library");
}

TEST(StoreStartupTest, TheDesktopApplicationMovesTheFormerFolderOncePerProcess)
{
    QGuiApplication::setDesktopFileName(StoreMigration::macBundleID());
    {
        TestHome home;
        makeLegacyLibrary(home);
        EXPECT_EQ(TamselStore::storeDirectory(), home.dataFolder() + QStringLiteral("/Kepsel"));
        EXPECT_TRUE(QFile::exists(home.dataFolder() + QStringLiteral("/Kepsel/Kepsel.store")));
    }
    TestHome later;
    makeLegacyLibrary(later);
    EXPECT_EQ(TamselStore::storeDirectory(), later.dataFolder() + QStringLiteral("/Plumvat"));
    EXPECT_FALSE(QFile::exists(later.dataFolder() + QStringLiteral("/Kepsel")));
}

} // namespace
