#include "../model/ModelFixture.h"
#include "KepselMacApp.h"
#include "MenuBarController.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class QuitTest : public ModelTest {
protected:
    QuitTest()
    {
        makeModel();
        menuBar = std::make_unique<MenuBarController>(*model);
        app = std::make_unique<KepselMacApp>(*model, *menuBar);
    }
    ~QuitTest() override { app.reset(); }

    // Runs the application until the tray menu's quit entry, clicked, ends
    // it; false when it did not within the wait's ceiling.
    bool quitFromTheTray()
    {
        QTimer::singleShot(0, menuBar.get(), [this] {
            menuBar->showMenu();
            QMenu &menu = menuBar->menu();
            for (QAction *action : menu.actions())
                if (action->text() == QStringLiteral("退出 Kepsel"))
                    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
        });
        QTimer ceiling;
        ceiling.callOnTimeout([] { QCoreApplication::exit(1); });
        ceiling.start(10000);
        return QApplication::exec() == 0;
    }

    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<KepselMacApp> app;
};

// A copy of the store file made after quitting is the whole library, and
// the next start finds the store free.
TEST_F(QuitTest, QuittingLeavesTheWholeLibraryInTheStoreFileAndReleasesItsLock)
{
    addPost(QStringLiteral("https://127.0.0.1:9/kept"));
    const QString store = model->container().storePath();
    ASSERT_TRUE(quitFromTheTray());

    EXPECT_FALSE(QFile::exists(store + QStringLiteral("-wal")));
    EXPECT_FALSE(QFile::exists(store + QStringLiteral(".lock")));
    const QString copy = home.path() + QStringLiteral("/Copy.store");
    ASSERT_TRUE(QFile::copy(store, copy));
    ModelContainer copied(TamselStore::schema(), copy);
    EXPECT_EQ(copied.mainContext().fetch<Post>().size(), 1);
}

} // namespace
