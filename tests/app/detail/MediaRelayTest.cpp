#include "MediaRelay.h"
#include "StreamReader.h"
#include "StreamingOrigin.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;

// A player that stops reading must hold the download back: the relay may
// keep a few MiB for it, and the system's socket buffers take some more (a
// receive buffer may grow to 32 MiB), but the file must not be read on into
// memory. The transfer, idle far longer than
// its idle time-out, carries on to the last byte once the player reads again.
TEST(MediaRelayTest, PlayerThatStopsReadingHoldsTheDownloadBackUntilItReadsOn)
{
    StreamingOrigin origin(192 * mebibyte);
    NetworkRequest request;
    request.url = origin.url();
    request.idleTimeout = std::chrono::milliseconds(300);
    request.bodyLimit = origin.size();
    MediaRelay relay(request);
    StreamReader player(relay.url());
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.received() >= mebibyte; }, 15000));

    player.pause();
    constexpr qint64 bound = 64 * mebibyte;
    EXPECT_FALSE(QTest::qWaitFor([&] { return origin.sent() - player.received() > bound; }, 4000))
        << origin.sent() / mebibyte << " MiB read from the origin for a player holding "
        << player.received() / mebibyte << " MiB";

    player.resume();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.isFinished(); }, 60000));
    EXPECT_EQ(player.received(), origin.size());
    EXPECT_FALSE(player.isDamaged());
}

} // namespace
