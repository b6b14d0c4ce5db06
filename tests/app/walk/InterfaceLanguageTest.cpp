#include "../model/ModelFixture.h"
#include "AccountsSheet.h"
#include "AppLanguage.h"
#include "InterfaceFont.h"
#include "AuthorAccount.h"
#include "Board.h"
#include "CollectionMenu.h"
#include "ContentView.h"
#include "ForeignText.h"
#include "KepselMacApp.h"
#include "MainWindow.h"
#include "MenuBarController.h"
#include "Naming.h"
#include "PasswordPrompt.h"
#include "Plugins.h"
#include "PostMenu.h"
#include "Screenshot.h"
#include "SegmentBar.h"
#include "StarredOrderSheet.h"
#include "SyncSettings.h"
#include "Tag.h"
#include "TelegramModule.h"
#include "TelegramSettings.h"
#include "UndoableDelete.h"
#include "VisibleTexts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// The user's own texts: they may be in any language.
const QString postTitle = QStringLiteral("雨后的西湖");
const QString authorName = QStringLiteral("林");
const QString boardName = QStringLiteral("旅行");
const QString tagName = QStringLiteral("咖啡");

// Opens every window, page, dialog and menu the application builds, in one
// interface language, and fails on any text shown in the other; each is
// saved as "walk-<language>-<step>.png".
class InterfaceLanguageTest : public ModelTest, public ::testing::WithParamInterface<AppLanguage::Value> {
protected:
    InterfaceLanguageTest()
    {
        // As the application starts: the language, then its font.
        AppLanguage(GetParam()).load(*qApp);
        InterfaceFont::use(AppLanguage(GetParam()));
        chooseFolder();
        makeModel();
        fillLibrary();
        menuBar = std::make_unique<MenuBarController>(*model);
        app = std::make_unique<KepselMacApp>(*model, *menuBar);
    }
    ~InterfaceLanguageTest() override
    {
        app.reset();
        menuBar.reset();
        AppLanguage(AppLanguage::zh).load(*qApp);
        InterfaceFont::use(AppLanguage(AppLanguage::zh));
    }

    void fillLibrary()
    {
        board = std::make_shared<Board>(boardName, QString());
        tag = std::make_shared<Tag>(tagName, QStringLiteral("#2980B9"));
        context().insert(board);
        context().insert(tag);
        post = std::make_shared<Post>(QStringLiteral("https://127.0.0.1:9/walk/1"), Platform::weibo);
        post->setTitle(postTitle);
        post->setAuthorName(authorName);
        post->setParseState(ParseState::parsed);
        post->setBoards({board});
        post->setTags({tag});
        context().insert(post);
        context().save();
    }

    // Every window shown now is checked; those it opened are saved, the main
    // window too where the step is one of its pages.
    void look(const QString &step, bool pictureMainWindow = false)
    {
        QTest::qWait(50);
        const QString language = GetParam() == AppLanguage::zh ? QStringLiteral("zh") : QStringLiteral("en");
        const ForeignText foreignText({postTitle, authorName, boardName, tagName, QStringLiteral("shared"),
                                       QStringLiteral("媒体"), QStringLiteral("中文")});
        int shown = 0;
        int pictured = 0;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            const QStringList texts = visibleTexts(*window);
            const QStringList foreign =
                GetParam() == AppLanguage::zh ? foreignText.inChinese(texts) : foreignText.inEnglish(texts);
            EXPECT_TRUE(foreign.isEmpty()) << step.toStdString() << ": " << foreign.join(" | ").toStdString();
            const QStringList cut = cutOffTexts(*window);
            EXPECT_TRUE(cut.isEmpty())
                << step.toStdString() << " cuts off: " << cut.join(" | ").toStdString();
            const QStringList overlapping = overlappingTexts(*window);
            EXPECT_TRUE(overlapping.isEmpty())
                << step.toStdString() << " overlaps: " << overlapping.join(" | ").toStdString();
            ++shown;
            if (window == app->mainWindow() && !pictureMainWindow)
                continue;
            const QString suffix = pictured++ ? QStringLiteral("-%1").arg(pictured) : QString();
            EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("walk-%1-%2%3").arg(language, step, suffix)));
        }
        EXPECT_GT(shown, 0) << step.toStdString();
    }

    template <typename Dialog> Dialog *shownDialog()
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<Dialog *>(window); dialog && dialog->isVisible())
                return dialog;
        for (QWidget *window : QApplication::topLevelWidgets())
            for (Dialog *dialog : window->findChildren<Dialog *>())
                if (dialog->isVisible())
                    return dialog;
        return nullptr;
    }
    void closeDialog(const QString &step)
    {
        QTest::qWait(50);
        QDialog *dialog = shownDialog<QDialog>();
        ASSERT_TRUE(dialog) << step.toStdString();
        look(step);
        dialog->reject();
    }
    void lookAtMenu(QMenu &menu, const QString &step)
    {
        menu.popup(QPoint(120, 120));
        look(step);
        menu.close();
    }

    MainWindow &window() { return *app->mainWindow(); }
    ContentView &content() { return window().content(); }

    void walkMainWindow();
    void walkWindowDialogs();
    void walkMenus();
    void walkSettings();
    void walkSheets();

    std::shared_ptr<Board> board;
    std::shared_ptr<Tag> tag;
    std::shared_ptr<Post> post;
    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<KepselMacApp> app;
};

void InterfaceLanguageTest::walkMainWindow()
{
    app->showMainWindow();
    window().resize(1100, 720);
    look(QStringLiteral("library"), true);
    content().setSelection(SidebarItem::organize());
    look(QStringLiteral("organize"), true);
    if (auto *segments = window().findChild<SegmentBar *>())
        for (int index : {1, 2}) {
            segments->setCurrent(index);
            emit segments->chosen(index);
            look(QStringLiteral("organize-%1").arg(index), true);
        }
    content().setSelection(SidebarItem::archived());
    look(QStringLiteral("archived"), true);
    content().setSelection(SidebarItem::privateSpace());
    look(QStringLiteral("private-lock"), true);
    content().setSelection(SidebarItem::all());
    content().push(SidebarItem::board(board));
    look(QStringLiteral("board"), true);
    content().push(post);
    look(QStringLiteral("post"), true);
    content().setSelection(SidebarItem::all());
}

void InterfaceLanguageTest::walkWindowDialogs()
{
    model->setShowAdd(true);
    look(QStringLiteral("add-link"), true);
    model->setShowAdd(false);
    model->setNaming(Naming::newBoard());
    closeDialog(QStringLiteral("new-board"));
    model->setNaming(std::nullopt);
    model->setDeleting(SidebarItem::board(board));
    closeDialog(QStringLiteral("delete-board"));
    model->setDeleting(std::nullopt);
}

void InterfaceLanguageTest::walkMenus()
{
    const QList<QMenu *> menus = window().menuBar()->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    for (qsizetype index = 0; index < menus.size(); ++index)
        lookAtMenu(*menus[index], QStringLiteral("menu-%1").arg(index + 1));
    PostMenu postMenu(post, context(), model->pendingDelete(), &window());
    lookAtMenu(postMenu, QStringLiteral("post-menu"));
    CollectionMenu boardMenu(*model, SidebarItem::board(board), &window());
    lookAtMenu(boardMenu, QStringLiteral("board-menu"));
    menuBar->install();
    lookAtMenu(menuBar->menu(), QStringLiteral("tray-menu"));
}

void InterfaceLanguageTest::walkSettings()
{
    // A sync and a media backup that failed, for their error rows.
    const QString folder = BackupFolder::directory(*BackupFolder::folderURL());
    QFile damaged(folder + QLatin1Char('/') + BackupFolder::latestName);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{ damaged");
    damaged.close();
    QCoro::waitFor(model->sync(false));
    ASSERT_TRUE(model->syncError());
    TamselStore::defaults().setBool(MediaBackup::enabledKey, true);
    const QString media = folder + QStringLiteral("/媒体");
    QDir(media).removeRecursively();
    QFile blocker(media);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCoro::waitFor(MediaBackup::shared().run(context()));
    ASSERT_TRUE(MediaBackup::shared().lastError());

    Plugins::shared().setInstalled(TelegramModule::info().id, true);
    app->showSettingsWindow();
    auto *tabs = shownDialog<QTabWidget>();
    ASSERT_TRUE(tabs);
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        look(QStringLiteral("settings-%1").arg(index + 1));
    }

    tabs->setCurrentIndex(0);
    auto *sync = tabs->findChild<SyncSettings *>();
    ASSERT_TRUE(sync);
    sync->findChild<QPushButton *>(QStringLiteral("pick"))->click();
    ASSERT_TRUE(sync->chooser());
    look(QStringLiteral("folder-picker"));
    sync->chooser()->reject();

    auto *language = tabs->findChild<QComboBox *>(QStringLiteral("language"));
    ASSERT_TRUE(language);
    language->setCurrentIndex((language->currentIndex() + 1) % language->count());
    closeDialog(QStringLiteral("relaunch"));

    auto *telegramLink = tabs->findChild<QPushButton *>(QStringLiteral("link:") + TelegramModule::info().id);
    ASSERT_TRUE(telegramLink);
    for (int index = 0; index < tabs->count(); ++index)
        if (tabs->widget(index)->isAncestorOf(telegramLink))
            tabs->setCurrentIndex(index);
    telegramLink->click();
    auto *telegram = tabs->findChild<TelegramSettings *>();
    ASSERT_TRUE(telegram);
    look(QStringLiteral("telegram"));
    telegram->uninstallButton()->click();
    ASSERT_TRUE(telegram->confirmation());
    look(QStringLiteral("uninstall"));
    telegram->confirmation()->reject();
    tabs->window()->close();
}

void InterfaceLanguageTest::walkSheets()
{
    PasswordPrompt prompt(QCoreApplication::translate("MacModel", "解锁隐私空间"));
    prompt.show();
    look(QStringLiteral("password"));
    prompt.close();
    StarredOrderSheet starred(context());
    starred.show();
    look(QStringLiteral("starred-order"));
    starred.close();
    AccountsSheet accounts(AuthorAccount::fromPost(*post), context());
    accounts.show();
    look(QStringLiteral("accounts"));
    accounts.close();
}

TEST_P(InterfaceLanguageTest, EveryWindowDialogAndMenuSpeaksOnlyTheInterfaceLanguage)
{
    walkMainWindow();
    walkWindowDialogs();
    walkMenus();
    walkSettings();
    walkSheets();
}

INSTANTIATE_TEST_SUITE_P(Languages, InterfaceLanguageTest,
                         ::testing::Values(AppLanguage::zh, AppLanguage::en), [](const auto &info) {
                             return info.param == AppLanguage::zh ? std::string("Chinese")
                                                                  : std::string("English");
                         });

} // namespace
