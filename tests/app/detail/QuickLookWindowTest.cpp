#include "PlayerView.h"
#include "PostScreenFixture.h"
#include "QuickLookWindow.h"
#include "Screenshot.h"
#include "TestClip.h"

#include <QApplication>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor clipColor("#C0392B");
const QColor stillColor("#2980B9");

class QuickLookWindowTest : public PostScreenFixture {};

TEST_F(QuickLookWindowTest, ALivePhotoShowsItsStillOrWithoutOneItsStoredClip)
{
    auto post = addPost(QStringLiteral("两张实况"));
    auto whole = addCover(post, 320, 240, stillColor, MediaKind::livePhoto);
    whole->setVideo(TestClip::avi(clipColor, false, 3));
    auto clipOnly = addCover(post, 0, 0, stillColor, MediaKind::livePhoto);
    clipOnly->setVideo(TestClip::avi(clipColor, false, 3));
    save();
    auto view = show(post);

    press(Qt::Key_Space);
    ASSERT_TRUE(view->quickLook());
    EXPECT_TRUE(view->quickLook()->endsWith(QStringLiteral("-1.jpg")));
    QuickLookWindow *window = view->quickLookWindow();
    EXPECT_EQ(window->playerView(), nullptr);
    press(Qt::Key_Space);
    EXPECT_FALSE(view->quickLook());

    press(Qt::Key_Right);
    press(Qt::Key_Space);
    ASSERT_TRUE(view->quickLook());
    EXPECT_EQ(view->quickLook()->toStdString(), clipOnly->videoDataFilePath()->toStdString());
    ASSERT_NE(window->playerView(), nullptr);
    auto *file = qobject_cast<const QFile *>(window->playerView()->player().sourceDevice());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->fileName(), clipOnly->videoDataFilePath().value());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->playerView()->hasFrame(); }, 15000)) << "the clip plays";
    EXPECT_TRUE(saveScreenshot(*window, QStringLiteral("quick-look-live-photo-clip")));
    press(Qt::Key_Space);
    EXPECT_FALSE(view->quickLook());
}

} // namespace
