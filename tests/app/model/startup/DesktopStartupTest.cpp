#include "../ModelFixture.h"

#include <gtest/gtest.h>

// The folder move runs once per process, at the first store-folder read, so
// this case lives in a program of its own.
namespace {

class DesktopStartupTest : public ModelTest {};

TEST_F(DesktopStartupTest, TheApplicationMovesALibraryLeftInTheFormerFolder)
{
    const QString former = home.dataFolder() + QStringLiteral("/Plumvat");
    QDir().mkpath(former);
    {
        ModelContainer library(TamselStore::schema(), former + QStringLiteral("/Plumvat.store"));
        library.mainContext().insert(
            std::make_shared<Post>(QStringLiteral("https://weibo.com/1/2"), Platform::weibo));
        library.mainContext().save();
    }

    // What main() does before the model opens the store.
    TamselStore::identifyAsDesktopApplication();
    makeModel();

    EXPECT_EQ(model->container().storePath(), home.dataFolder() + QStringLiteral("/Kepsel/Kepsel.store"));
    EXPECT_EQ(model->container().mainContext().fetch<Post>().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(former)) << "kept under the safety folder";
}

} // namespace
