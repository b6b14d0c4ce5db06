#include "../model/ModelFixture.h"
#include "AccountsSheet.h"
#include "AddLinkSheet.h"
#include "AuthorMerge.h"
#include "KepselMacApp.h"
#include "LibraryHeader.h"
#include "LibraryView.h"
#include "MacSettingsView.h"
#include "Media.h"
#include "MediaPane.h"
#include "MenuBarController.h"
#include "NavigationStack.h"
#include "OrganizeView.h"
#include "Plugins.h"
#include "PrivateLockView.h"
#include "Screenshot.h"
#include "SettingsKey.h"
#include "Sidebar.h"
#include "StarredOrderSheet.h"
#include "Theme.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The views that pick colours when they are built: each must paint in a
// new appearance exactly as one built in it.
class AppearanceTest : public ModelTest {
protected:
    AppearanceTest()
    {
        makeModel();
        menuBar = std::make_unique<MenuBarController>(*model);
        addPerson();
    }
    ~AppearanceTest() override
    {
        views.clear();
        app.reset();
        QApplication::setPalette(Theme::palette(Theme::Appearance::light));
    }

    void setAppearance(const QString &appearance)
    {
        TamselStore::defaults().setString(SettingsKey::appearance, appearance);
        QCoreApplication::processEvents();
    }

    // A starred person of two accounts and one of one, for the author views.
    void addPerson()
    {
        for (const AuthorAccount &account : {lin, linX, bee}) {
            auto post = std::make_shared<Post>(QStringLiteral("https://example.com/") + account.name(),
                                               account.platform());
            post->setAuthorName(account.name());
            post->setParseState(ParseState::parsed);
            context().insert(post);
        }
        context().save();
        AuthorMerge::merge(linX, lin, context());
        AuthorMerge::setStarred(lin, true, context());
    }

    std::vector<std::unique_ptr<QWidget>> buildViews()
    {
        std::vector<std::unique_ptr<QWidget>> built;
        auto header = std::make_unique<LibraryHeader>(context());
        header->setValues(false, {{Platform::weibo, 2}, {Platform::x, 1}}, 3, std::nullopt);
        built.push_back(std::move(header));
        built.push_back(std::make_unique<Sidebar>(*model));
        auto stack = std::make_unique<NavigationStack>();
        stack->setRoot(new QLabel(QStringLiteral("root")));
        stack->push(new QLabel(QStringLiteral("page")));
        built.push_back(std::move(stack));
        built.push_back(std::make_unique<MacSettingsView>(*model, *menuBar, Plugins::shared()));
        auto pane = std::make_unique<MediaPane>();
        pane->setMedia(
            {std::make_shared<Media>(MediaKind::image, 0), std::make_shared<Media>(MediaKind::image, 1)});
        built.push_back(std::move(pane));
        built.push_back(std::make_unique<PrivateLockView>());
        built.push_back(std::make_unique<AddLinkSheet>());
        auto organize = std::make_unique<OrganizeView>(*model);
        organize->setSegment(OrganizeView::Segment::authors);
        built.push_back(std::move(organize));
        for (const AuthorAccount &author : {lin, bee})
            built.push_back(std::make_unique<LibraryView>(context(), model->pendingDelete(),
                                                          SidebarItem::author(author)));
        built.push_back(std::make_unique<AccountsSheet>(lin, context()));
        built.push_back(std::make_unique<StarredOrderSheet>(context()));
        for (const auto &view : built) {
            view->resize(std::max(view->sizeHint().width(), 320), std::max(view->sizeHint().height(), 200));
            view->show();
        }
        QCoreApplication::processEvents();
        // A caret blinks on its own clock.
        for (const auto &view : built)
            if (QWidget *focused = view->focusWidget())
                focused->clearFocus();
        return built;
    }

    static QList<QImage> paint(const std::vector<std::unique_ptr<QWidget>> &shown)
    {
        QCoreApplication::processEvents();
        QList<QImage> images;
        for (const auto &view : shown)
            images.append(view->grab().toImage());
        return images;
    }

    const AuthorAccount lin{Platform::weibo, QStringLiteral("林")};
    const AuthorAccount linX{Platform::x, QStringLiteral("lin")};
    const AuthorAccount bee{Platform::bilibili, QStringLiteral("阿B")};
    std::unique_ptr<MenuBarController> menuBar;
    std::unique_ptr<KepselMacApp> app;
    std::vector<std::unique_ptr<QWidget>> views;
};

TEST_F(AppearanceTest, ViewsBuiltInDarkFollowEverySwitchAsIfBuiltAnew)
{
    setAppearance(QStringLiteral("dark"));
    app = std::make_unique<KepselMacApp>(*model, *menuBar);
    EXPECT_TRUE(Theme::isDark(QApplication::palette())) << "applied before any window";
    views = buildViews();
    const QList<QImage> dark = paint(views);
    for (const auto &view : views)
        saveScreenshot(*view, QStringLiteral("dark-") + view->metaObject()->className());

    setAppearance(QStringLiteral("light"));
    const QList<QImage> light = paint(views);
    const QList<QImage> builtLight = paint(buildViews());
    setAppearance(QStringLiteral("dark"));
    const QList<QImage> darkAgain = paint(views);

    for (qsizetype index = 0; index < qsizetype(views.size()); ++index) {
        const char *name = views[size_t(index)]->metaObject()->className();
        EXPECT_NE(light[index], dark[index]) << name;
        EXPECT_EQ(light[index], builtLight[index]) << name << " paints like one built in light";
        EXPECT_EQ(darkAgain[index], dark[index]) << name << " paints as it did in dark";
    }
}

// As on a first start: no appearance chosen, the desktop's colours.
TEST_F(AppearanceTest, ViewsBuiltInTheDesktopsColoursFollowASwitchAsIfBuiltAnew)
{
    // A desktop palette that sets every colour, a link colour of its own among them.
    QPalette desktop = QApplication::palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            desktop.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role),
                             desktop.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
    desktop.setColor(QPalette::Link, Qt::blue);
    QApplication::setPalette(desktop);
    app = std::make_unique<KepselMacApp>(*model, *menuBar);
    views = buildViews();
    const QList<QImage> first = paint(views);
    QPushButton *link = nullptr;
    for (QPushButton *button : views[1]->findChildren<QPushButton *>())
        if (button->text() == QStringLiteral("设置文件夹同步"))
            link = button;
    ASSERT_TRUE(link);
    EXPECT_EQ(link->palette().color(QPalette::ButtonText), Theme::accent().light())
        << "the sync set-up link is in the accent colour, not the desktop's link colour";

    setAppearance(QStringLiteral("dark"));
    const QList<QImage> dark = paint(views);
    const QList<QImage> builtDark = paint(buildViews());
    setAppearance(QStringLiteral("system"));
    const QList<QImage> back = paint(views);

    for (qsizetype index = 0; index < qsizetype(views.size()); ++index) {
        const char *name = views[size_t(index)]->metaObject()->className();
        EXPECT_EQ(dark[index], builtDark[index]) << name << " paints like one built in dark";
        EXPECT_EQ(back[index], first[index]) << name << " paints as it did in the desktop's colours";
    }
}

} // namespace
