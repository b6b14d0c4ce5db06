#include "ContentView.h"

#include "../model/ModelFixture.h"
#include "LibraryView.h"
#include "NavigationStack.h"
#include "Screenshot.h"
#include "Sidebar.h"
#include "SidebarRow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidgetAction>
#include <gtest/gtest.h>

namespace {

class ContentViewTest : public ModelTest {
protected:
    ContentViewTest() { makeModel(); }

    std::shared_ptr<Post> addTitled(const QString &title, bool archived = false)
    {
        auto post = addPost(QStringLiteral("https://example.com/%1").arg(title));
        post->setTitle(title);
        post->setIsArchived(archived);
        context().save();
        return post;
    }

    static QLineEdit *searchField(const LibraryView &library)
    {
        return static_cast<QWidgetAction *>(library.toolbarAction())
            ->defaultWidget()
            ->findChild<QLineEdit *>();
    }
    static SidebarRow *row(Sidebar &sidebar, const QString &title)
    {
        for (SidebarRow *row : sidebar.rows())
            if (row->title() == title)
                return row;
        return nullptr;
    }
};

TEST_F(ContentViewTest, TheSearchTextStaysWhenAnotherSidebarEntryIsClicked)
{
    addTitled(QStringLiteral("Cat in the archive"), true);
    addTitled(QStringLiteral("Cat at home"));
    addTitled(QStringLiteral("Dog at home"));
    ContentView content(*model);
    content.resize(1100, 700);
    content.show();
    content.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&content));

    auto *library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    QTest::mouseClick(searchField(*library), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
    ASSERT_EQ(library->shown().size(), 1);

    auto *sidebar = content.findChild<Sidebar *>();
    QTest::mouseClick(row(*sidebar, QStringLiteral("已归档")), Qt::LeftButton);
    EXPECT_EQ(content.selection(), SidebarItem::archived());
    library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    EXPECT_EQ(library->item(), SidebarItem::archived());
    EXPECT_EQ(library->search(), QStringLiteral("cat"));
    ASSERT_EQ(library->shown().size(), 1);
    EXPECT_EQ(library->shown().first()->title(), QStringLiteral("Cat in the archive"));
    QLineEdit *field = searchField(*library);
    EXPECT_EQ(field->text(), QStringLiteral("cat")) << "the field shows it too";
    EXPECT_TRUE(QTest::qWaitFor([field] { return field->isVisible(); })) << "in the toolbar";
    EXPECT_TRUE(saveScreenshot(content, QStringLiteral("content-search-kept")));

    // Organize takes the library's place, and a library comes back after it.
    QTest::mouseClick(row(*sidebar, QStringLiteral("整理")), Qt::LeftButton);
    EXPECT_FALSE(qobject_cast<LibraryView *>(content.stack().root()));
    QTest::mouseClick(row(*sidebar, QStringLiteral("收藏")), Qt::LeftButton);
    library = qobject_cast<LibraryView *>(content.stack().root());
    ASSERT_TRUE(library);
    EXPECT_EQ(library->item(), SidebarItem::all());
}

} // namespace
