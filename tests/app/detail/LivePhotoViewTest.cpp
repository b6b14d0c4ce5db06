#include "../library/LibraryFixture.h"
#include "LivePhotoView.h"
#include "MediaImage.h"
#include "Motion.h"
#include "PlayerView.h"
#include "Screenshot.h"
#include "SteppedMotions.h"
#include "StillImage.h"
#include "TestClip.h"
#include "UserDefaults.h"

#include <QAudioOutput>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QColor clipColor("#C0392B");
const QColor stillColor("#2980B9");

class LivePhotoViewTest : public LibraryFixture {
protected:
    std::shared_ptr<Media> addLivePhoto(bool withSound, int seconds = 1)
    {
        auto post = addPost(QStringLiteral("实况"));
        auto media = addCover(post, 320, 240, stillColor, MediaKind::livePhoto);
        media->setVideo(TestClip::avi(clipColor, withSound, seconds));
        save();
        return media;
    }

    static std::unique_ptr<LivePhotoView> show(const std::shared_ptr<Media> &media, bool current = true)
    {
        auto view = std::make_unique<LivePhotoView>(media, current);
        view->resize(480, 420);
        view->show();
        EXPECT_NE(view->playerView(), nullptr);
        return view;
    }

    static bool loaded(LivePhotoView &view)
    {
        return QTest::qWaitFor(
            [&] { return view.playerView()->player().mediaStatus() == QMediaPlayer::LoadedMedia; }, 15000);
    }

    static bool muted(LivePhotoView &view) { return view.playerView()->audioOutput().isMuted(); }
};

TEST_F(LivePhotoViewTest, ClipsStartMutedUnlessLiveSoundIsOnAndTheSpeakerSwitchesEveryLivePhoto)
{
    auto quiet = show(addLivePhoto(true, 3), false);
    EXPECT_TRUE(muted(*quiet)) << "sound is off until the user turns it on";
    ASSERT_TRUE(QTest::qWaitFor([&] { return quiet->speaker()->isVisible(); }, 15000))
        << "the clip has sound";
    EXPECT_EQ(quiet->speaker()->toolTip(), QStringLiteral("打开实况声音"));
    EXPECT_FALSE(quiet->isPlaying());

    quiet->setCurrent(true);
    auto other = show(addLivePhoto(true), false);
    EXPECT_TRUE(muted(*other));
    QTest::mouseClick(other->speaker(), Qt::LeftButton);
    EXPECT_TRUE(UserDefaults::standard().boolObject(LivePhotoView::soundKey, false));
    EXPECT_FALSE(muted(*other));
    EXPECT_FALSE(muted(*quiet)) << "the choice holds for every live photo";
    EXPECT_EQ(quiet->speaker()->toolTip(), QStringLiteral("关闭实况声音"));
    EXPECT_FALSE(other->isPlaying()) << "only the photo on stage plays";

    auto later = show(addLivePhoto(true));
    EXPECT_FALSE(muted(*later)) << "a new photo starts with sound as the setting now says";
    // Held at its start, so the clip cannot end by itself before the checks below.
    later->playerView()->player().pause();
    ASSERT_TRUE(later->isPlaying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return later->speaker()->isVisible(); }, 15000));
    EXPECT_TRUE(saveScreenshot(*later, QStringLiteral("live-photo-sound-on")));

    QTest::mouseClick(later->speaker(), Qt::LeftButton);
    EXPECT_TRUE(muted(*quiet));
    EXPECT_TRUE(muted(*later));
    EXPECT_TRUE(later->isPlaying()) << "turning sound off lets a running clip go on";
}

TEST_F(LivePhotoViewTest, ASilentClipOffersNoSpeakerWhateverTheSetting)
{
    UserDefaults::standard().setBool(LivePhotoView::soundKey, true);
    auto view = show(addLivePhoto(false));
    ASSERT_TRUE(loaded(*view));
    EXPECT_FALSE(view->speaker()->isVisible());
}

TEST_F(LivePhotoViewTest, TheBadgeDimsAndBrightensAlongTheClipsFade)
{
    const SteppedMotions stepped;
    auto view = show(addLivePhoto(false, 3), false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->still()->image()->image().isNull(); }, 10000));
    // The badge's capsule just below its top edge, over the still (no frame
    // is painted before the event loop runs again).
    const auto badgeColor = [&] {
        const QRect badge = view->badge()->geometry();
        return view->grab().toImage().pixelColor(badge.center().x(), badge.top() + 2);
    };
    const int bright = badgeColor().lightness();
    auto *fade = view->findChild<Motion *>();
    ASSERT_NE(fade, nullptr);

    view->setCurrent(true);
    ASSERT_TRUE(view->isPlaying());
    fade->setCurrentTime(100);
    EXPECT_NEAR(view->clipOpacity(), 0.5, 0.01);
    const int halfway = badgeColor().lightness();
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("live-photo-fading")));
    fade->finish();
    const int dim = badgeColor().lightness();
    EXPECT_EQ(view->clipOpacity(), 1);
    EXPECT_GT(bright, halfway + 10);
    EXPECT_GT(halfway, dim + 10);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view.get(), &leave);
    EXPECT_FALSE(view->isPlaying());
    fade->setCurrentTime(100);
    EXPECT_NEAR(view->clipOpacity(), 0.5, 0.01);
    EXPECT_NEAR(badgeColor().lightness(), halfway, 3);
    fade->finish();
    EXPECT_EQ(view->clipOpacity(), 0);
    EXPECT_NEAR(badgeColor().lightness(), bright, 3);
}

TEST_F(LivePhotoViewTest, OnlyThePictureAndNotTheBandBesideAPortraitPlaysTheClip)
{
    auto post = addPost(QStringLiteral("竖拍的实况"));
    auto media = addCover(post, 240, 320, stillColor, MediaKind::livePhoto);
    media->setVideo(TestClip::avi(clipColor, false));
    save();
    auto view = show(media);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->still()->image()->image().isNull(); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isPlaying(); }, 15000)) << "the clip ends";
    // Fitted into 480 × 420 the picture spans x 83 to 397, with a band on either side.
    const QPoint band(20, 210);
    const QPoint picture(240, 210);
    QTest::mouseMove(view.get(), band);
    EXPECT_FALSE(view->isPlaying()) << "the band is no part of the picture";

    QTest::mouseMove(view.get(), picture);
    ASSERT_TRUE(view->isPlaying());
    // Held at its start, so the clip cannot end by itself before the check below.
    view->playerView()->player().pause();
    QTest::mouseMove(view.get(), band);
    EXPECT_FALSE(view->isPlaying()) << "moving off the picture stops the clip";
}

TEST_F(LivePhotoViewTest, RestoringAMinimisedWindowDoesNotPlayTheClipAgain)
{
    auto view = show(addLivePhoto(false));
    ASSERT_TRUE(view->isPlaying());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isPlaying(); }, 15000)) << "the clip ends";

    view->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isMinimized(); }, 10000));
    view->showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isMinimized(); }, 10000));
    EXPECT_FALSE(view->isPlaying());

    // Coming on stage again is a new appearance: it plays.
    view->setCurrent(false);
    view->setCurrent(true);
    EXPECT_TRUE(view->isPlaying());
}

} // namespace
