#include "../library/LibraryFixture.h"
#include "FixtureServer.h"
#include "ImportProgress.h"
#include "LivePhotoView.h"
#include "MediaPages.h"
#include "MediaPane.h"
#include "MediaRelay.h"
#include "MediaDownloader.h"
#include "MediaImage.h"
#include "PlayerItemView.h"
#include "PlayerControls.h"
#include "PlayerView.h"
#include "PoolHold.h"
#include "Screenshot.h"
#include "StillImage.h"
#include "TestClip.h"
#include "Theme.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QColor clipColor("#C0392B");
const QColor stillColor("#2980B9");

bool near(const QColor &shown, const QColor &color)
{
    return std::abs(shown.red() - color.red()) < 30 && std::abs(shown.green() - color.green()) < 30 &&
           std::abs(shown.blue() - color.blue()) < 30;
}

QColor centre(QWidget &widget)
{
    const QImage shot = widget.grab().toImage();
    return shot.pixelColor(shot.rect().center());
}

bool reaches(QMediaPlayer &player, QMediaPlayer::MediaStatus status)
{
    return QTest::qWaitFor([&] { return player.mediaStatus() == status; }, 15000);
}

class PlayerViewTest : public LibraryFixture {
protected:
    std::shared_ptr<Media> addClip(MediaKind kind, const std::optional<QByteArray> &bytes,
                                   const QString &link = {})
    {
        auto post = addPost(QStringLiteral("一段视频"));
        auto media = addCover(post, 320, 240, stillColor, kind);
        media->setVideo(bytes);
        media->setVideoRemoteURL(link);
        save();
        return media;
    }

    // A page of the item on its own, shown at a size a person would see.
    template <typename View>
    std::unique_ptr<View> page(const std::shared_ptr<Media> &media, bool current = true)
    {
        std::unique_ptr<View> view(static_cast<View *>(MediaItemView::create(media, current)));
        view->resize(480, 420);
        view->show();
        return view;
    }

    static StillImage *stillOf(MediaItemView &page)
    {
        if (auto *still = qobject_cast<StillImage *>(&page))
            return still;
        if (auto *live = qobject_cast<LivePhotoView *>(&page))
            return live->still();
        return qobject_cast<PlayerItemView *>(&page)->still();
    }

    static PlayerView *playerOf(PlayerItemView &view)
    {
        EXPECT_NE(view.playerView(), nullptr);
        return view.playerView();
    }
};

TEST_F(PlayerViewTest, StoredVideoPlaysFromTheStoresFileAndPaintsItsFrames)
{
    auto media = addClip(MediaKind::video, TestClip::avi(clipColor, true));
    auto view = page<PlayerItemView>(media);
    PlayerView *player = playerOf(*view);
    ASSERT_NE(player, nullptr);
    // The store's own file, not a copy of it.
    auto *file = qobject_cast<const QFile *>(player->player().sourceDevice());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->fileName(), media->videoDataFilePath().value());

    ASSERT_TRUE(reaches(player->player(), QMediaPlayer::LoadedMedia));
    QTest::mouseClick(player->findChild<QToolButton *>(QStringLiteral("playPause")), Qt::LeftButton);
    EXPECT_TRUE(reaches(player->player(), QMediaPlayer::EndOfMedia));
    ASSERT_TRUE(player->hasFrame());
    EXPECT_TRUE(near(centre(*player), clipColor));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("player-video")));
}

TEST_F(PlayerViewTest, PagingAwayPausesAndPagingBackFindsItPausedInPlace)
{
    auto post = addPost(QStringLiteral("三段"));
    auto video = addCover(post, 320, 240, stillColor, MediaKind::video);
    // Long enough not to end before the test pages away.
    video->setVideo(TestClip::avi(clipColor, false, 5));
    addCover(post, 320, 240);
    addCover(post, 320, 240);
    save();
    MediaPane pane;
    pane.resize(600, 500);
    pane.setMedia(post->sortedMedia());
    pane.show();
    auto *page = qobject_cast<PlayerItemView *>(pane.pages()->view(0));
    ASSERT_NE(page, nullptr);
    QMediaPlayer &player = playerOf(*page)->player();

    player.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() > 100; }, 15000));
    pane.go(+1);
    EXPECT_EQ(player.playbackState(), QMediaPlayer::PausedState);
    const qint64 position = player.position();
    pane.go(-1);
    EXPECT_EQ(pane.pages()->view(0), page);
    EXPECT_EQ(player.playbackState(), QMediaPlayer::PausedState);
    EXPECT_EQ(player.position(), position);
}

TEST_F(PlayerViewTest, LivePhotoPlaysOnceWhenItBecomesCurrent)
{
    auto media = addClip(MediaKind::livePhoto, TestClip::avi(clipColor, true, 3));
    auto view = page<LivePhotoView>(media, false);
    ASSERT_NE(view->playerView(), nullptr);
    QMediaPlayer &player = view->playerView()->player();
    ASSERT_TRUE(reaches(player, QMediaPlayer::LoadedMedia));
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QCoreApplication::sendEvent(view.get(), &enter);
    EXPECT_FALSE(view->isPlaying()) << "not on stage";

    view->setCurrent(true);
    EXPECT_TRUE(view->isPlaying());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return view->playerView()->hasFrame() && view->clipOpacity() == 1; }, 15000));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("player-live-photo")));
    // The badge is dimmed and leaves the clip around it as it is (the clip's
    // own frame marker runs along its top edge, above the badge's middle).
    const QImage shot = view->grab().toImage();
    const QRect badge = view->badge()->geometry();
    for (const QPoint &beside :
         {QPoint(badge.center().x(), badge.bottom() + 6), QPoint(badge.right() + 6, badge.bottom()),
          QPoint(badge.left() - 4, badge.bottom())})
        EXPECT_TRUE(near(shot.pixelColor(beside), clipColor)) << qPrintable(shot.pixelColor(beside).name());
    const QColor inBadge = shot.pixelColor(badge.left() + 4, badge.bottom() - 3);
    EXPECT_LT(inBadge.lightness(), 200) << "dimmed over the clip: " << qPrintable(inBadge.name());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view->isPlaying(); }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->clipOpacity() == 0; }, 10000)) << "the still shows again";
}

TEST_F(PlayerViewTest, RemoteClipIsFetchedThroughTheRelayWithItsPlatformsHeaders)
{
    FixtureServer server;
    const QString address = QStringLiteral("127.0.0.2");
    server.serve(address, QStringLiteral("/clip.avi"),
                 {200, TestClip::avi(clipColor, true), {{"Content-Type", "video/x-msvideo"}}});
    auto media =
        addClip(MediaKind::video, std::nullopt, server.url(address, QStringLiteral("/clip.avi")).toString());
    auto view = page<PlayerItemView>(media);
    PlayerView *player = playerOf(*view);
    ASSERT_NE(player, nullptr);
    ASSERT_TRUE(reaches(player->player(), QMediaPlayer::LoadedMedia));

    ASSERT_FALSE(server.requests().isEmpty());
    const QString referer = Platform(Platform::weibo).mediaHeaders().value(QStringLiteral("Referer"));
    EXPECT_EQ(server.requests().first().header("Referer"), QList<QByteArray>{referer.toUtf8()});
}

TEST_F(PlayerViewTest, RelayPassesRangeRequestsOnAndServesOnlyItsOwnPath)
{
    FixtureServer server;
    const QString address = QStringLiteral("127.0.0.2");
    const QByteArray body = TestClip::avi(clipColor, false);
    server.handle(address, QStringLiteral("/clip"), [&](const FixtureServer::Request &request) {
        EXPECT_EQ(request.header("Range"), QList<QByteArray>{"bytes=10-19"});
        return FixtureServer::Reply{
            206, body.mid(10, 10), {{"Content-Range", "bytes 10-19/" + QByteArray::number(body.size())}}};
    });
    MediaRelay relay(MediaDownloader::request(server.url(address, QStringLiteral("/clip")).toString(),
                                              Platform::weibo, MediaDownloader::videoTimeout));
    QNetworkAccessManager manager;
    const auto get = [&](const QUrl &url) {
        QNetworkRequest request(url);
        request.setRawHeader("Range", "bytes=10-19");
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        EXPECT_TRUE(QTest::qWaitFor([&] { return reply->isFinished(); }, 15000));
        return std::make_pair(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                              std::make_pair(reply->rawHeader("Content-Range"), reply->readAll()));
    };
    const auto [status, answer] = get(relay.url());
    EXPECT_EQ(answer.second, body.mid(10, 10));

    QUrl elsewhere = relay.url();
    elsewhere.setPath(QStringLiteral("/other"));
    EXPECT_EQ(get(elsewhere).first, 404);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(PlayerViewTest, VideoFillsTheScreenAndComesBackToItsPage)
{
    auto view = page<PlayerItemView>(addClip(MediaKind::video, TestClip::avi(clipColor, false)));
    PlayerView *player = playerOf(*view);
    ASSERT_NE(player, nullptr);
    QToolButton *fullScreen = player->findChild<QToolButton *>(QStringLiteral("fullScreen"));
    ASSERT_NE(fullScreen, nullptr);
    QTest::mouseClick(fullScreen, Qt::LeftButton);
    EXPECT_TRUE(player->isWindow());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->windowState() & Qt::WindowFullScreen; }, 10000));

    QTest::keyClick(player, Qt::Key_Escape);
    EXPECT_FALSE(player->isWindow());
    EXPECT_EQ(player->parentWidget(), view.get());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return player->isVisible() && player->width() == view->width(); }, 10000));
}

TEST_F(PlayerViewTest, SongCoverIsRoundedAndASongHasNoFullScreen)
{
    auto view = page<PlayerItemView>(addClip(MediaKind::audio, TestClip::avi(clipColor, true)));
    PlayerView *player = playerOf(*view);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->findChild<QToolButton *>(QStringLiteral("fullScreen")), nullptr);
    auto *cover = view->findChild<MediaImage *>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cover->image().isNull(); }, 10000));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("player-song")));
    // The cover is fitted in its widget; its corner is cut round, its middle is not.
    const QSize fitted = cover->image().size().scaled(cover->size(), Qt::KeepAspectRatio);
    QRect picture(QPoint(), fitted);
    picture.moveCenter(cover->rect().center());
    const QImage shot = cover->grab().toImage();
    EXPECT_FALSE(near(shot.pixelColor(picture.topLeft() + QPoint(1, 1)), stillColor));
    EXPECT_TRUE(near(shot.pixelColor(picture.center()), stillColor));
}

TEST_F(PlayerViewTest, PortraitSongCoverStaysWithinItsSquareAboveTheBarInTheMiddleOfThePage)
{
    auto post = addPost(QStringLiteral("竖版封面"));
    auto song = addCover(post, 200, 400, stillColor, MediaKind::audio);
    song->setVideo(TestClip::avi(clipColor, true));
    save();
    auto view = page<PlayerItemView>(song);
    view->resize(900, 1000);
    PlayerView *player = playerOf(*view);
    ASSERT_NE(player, nullptr);
    MediaImage *cover = view->still()->image();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !cover->image().isNull(); }, 10000));
    EXPECT_TRUE(saveScreenshot(*view, QStringLiteral("player-song-portrait")));

    const QSize picture = cover->image().size().scaled(cover->size(), Qt::KeepAspectRatio);
    EXPECT_EQ(picture.height(), 520);
    EXPECT_EQ(cover->width(), 520);
    const QRect column = view->still()->geometry().united(player->geometry());
    EXPECT_EQ(player->width(), 520);
    EXPECT_EQ(player->y(), view->still()->geometry().bottom() + 1 + 14);
    EXPECT_LE(std::abs(column.center().x() - view->rect().center().x()), 1);
    EXPECT_LE(std::abs(column.center().y() - view->rect().center().y()), 1);
}

// Controls over pictures take the colours of the window's appearance, not of
// the stage's tint, and follow a switch as ones built in it look.
TEST_F(PlayerViewTest, ControlsAndLiveBadgesFollowTheAppearance)
{
    struct Stage {
        std::unique_ptr<MediaPane> pane = std::make_unique<MediaPane>();
        PlayerItemView *song = nullptr;
        LivePhotoView *live = nullptr;
    };
    const auto build = [&] {
        auto post = addPost(QStringLiteral("歌和实况"));
        addCover(post, 320, 240, stillColor, MediaKind::audio)->setVideo(TestClip::avi(clipColor, true));
        addCover(post, 320, 240, stillColor, MediaKind::livePhoto)->setVideo(TestClip::avi(clipColor, true));
        save();
        Stage stage;
        stage.pane->resize(600, 500);
        stage.pane->setMedia(post->sortedMedia());
        stage.pane->show();
        stage.song = qobject_cast<PlayerItemView *>(stage.pane->pages()->view(0));
        stage.live = qobject_cast<LivePhotoView *>(stage.pane->pages()->view(1));
        EXPECT_TRUE(reaches(playerOf(*stage.song)->player(), QMediaPlayer::LoadedMedia));
        EXPECT_TRUE(QTest::qWaitFor([&] { return stage.live->speaker()->isVisibleTo(stage.live); }, 15000));
        return stage;
    };
    const auto looks = [](const Stage &stage) {
        return QList<QImage>{stage.song->playerView()->controls()->grab().toImage(),
                             stage.live->badge()->grab().toImage(), stage.live->speaker()->grab().toImage()};
    };
    const struct LightAgain {
        ~LightAgain() { QApplication::setPalette(Theme::palette(Theme::Appearance::light)); }
    } lightAgain;
    const Stage shown = build();
    const QList<QImage> light = looks(shown);
    QApplication::setPalette(Theme::palette(Theme::Appearance::dark));
    const Stage fresh = build();
    EXPECT_TRUE(saveScreenshot(*fresh.song, QStringLiteral("player-song-dark")));
    const QList<QImage> dark = looks(fresh);
    const QList<QImage> switched = looks(shown);
    const QStringList names{QStringLiteral("control bar"), QStringLiteral("badge"),
                            QStringLiteral("speaker")};
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        const auto fill = [&](const QImage &image) {
            return image.pixelColor(image.width() / 2, 2).lightness();
        };
        EXPECT_GT(fill(light[i]), 200);
        EXPECT_LT(fill(dark[i]), 80);
        EXPECT_TRUE(switched[i] == dark[i]);
    }
}

// Pictures, videos' posters and live photos' stills alike.
TEST_F(PlayerViewTest, StillShowsItsThumbnailUntilDecodedAndTheBusyBarOnlyWhileItsDownloadRuns)
{
    for (const MediaKind kind : {MediaKind::image, MediaKind::video, MediaKind::livePhoto}) {
        SCOPED_TRACE(kind.rawValue().toStdString());
        const auto clip =
            kind == MediaKind::image ? std::nullopt : std::optional(TestClip::avi(clipColor, false));
        std::unique_ptr<MediaItemView> stored;
        StillImage *still = nullptr;
        {
            // Decoding waits for a worker, held here so it cannot finish before the first look.
            const PoolHold decoding;
            stored = page<MediaItemView>(addClip(kind, clip), false);
            still = stillOf(*stored);
            ASSERT_TRUE(still->image()->image().isNull());
            EXPECT_TRUE(still->thumbnail()->isVisibleTo(still));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !still->image()->image().isNull(); }, 10000));
        EXPECT_FALSE(still->thumbnail()->isVisibleTo(still));

        auto post = addPost(QStringLiteral("下载失败"));
        auto missing = addCover(post, 0, 0, stillColor, kind);
        missing->setRemoteURL(QStringLiteral("https://127.0.0.1/missing.jpg"));
        missing->setVideo(clip);
        save();
        auto missingPage = page<MediaItemView>(missing, false);
        still = stillOf(*missingPage);
        EXPECT_FALSE(still->isDownloading()) << "no download runs for it";
        EXPECT_TRUE(saveScreenshot(*missingPage, QStringLiteral("still-placeholder-") + kind.rawValue()));

        ImportProgress::shared().startDownloading(post->id(), {{missing->id(), false}});
        EXPECT_TRUE(still->isDownloading());
        EXPECT_TRUE(still->findChild<QProgressBar *>()->isVisible());
        EXPECT_TRUE(saveScreenshot(*missingPage, QStringLiteral("still-downloading-") + kind.rawValue()));
        ImportProgress::shared().complete(post->id(), missing->id());
        EXPECT_FALSE(still->isDownloading()) << "the download failed";
        ImportProgress::shared().finish(post->id());
    }
}

TEST_F(PlayerViewTest, FileLinksAreRefusedAndJunkBytesGiveAMessage)
{
    auto local =
        page<PlayerItemView>(addClip(MediaKind::video, std::nullopt, QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(local->playerView(), nullptr) << "the poster stays";

    auto junk = page<PlayerItemView>(addClip(MediaKind::video, QByteArray(5000, 'Z')));
    PlayerView *player = playerOf(*junk);
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->hasFailed(); }, 15000));
    EXPECT_TRUE(player->findChild<QLabel *>(QStringLiteral("playerMessage"))->isVisible());
}

} // namespace
