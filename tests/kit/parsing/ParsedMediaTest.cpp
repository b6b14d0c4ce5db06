#include "ParsedMedia.h"
#include "TestHome.h"

#include <limits>

namespace {

TEST(ParsedMediaTest, OnlyProtocolRelativeAndHttpLinksBecomeHttps)
{
    const ParsedMedia media(MediaKind::video, "//img.example/a.jpg",
                            QStringLiteral("http://v.example/a.mp4"));
    EXPECT_EQ(media.url, QStringLiteral("https://img.example/a.jpg"));
    EXPECT_EQ(media.videoURL, QStringLiteral("https://v.example/a.mp4"));
    for (const char *link : {"HTTP://a.example/x", "", "https://a.example/x", "/relative", "ftp://a/x"})
        EXPECT_EQ(ParsedMedia::normalizedLink(link), QString::fromUtf8(link));
}

// Platforms answer nonsense durations too; the importer would store them.
TEST(ParsedMediaTest, ADurationBelowZeroOrNotFiniteIsUnknown)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (const double duration : {-12.5, -infinity, infinity, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(ParsedMedia(MediaKind::video, "", std::nullopt, 1, 1, duration).duration, std::nullopt)
            << duration;
    EXPECT_EQ(ParsedMedia(MediaKind::audio, "", std::nullopt, 1, 1, 0).duration, 0);
}

} // namespace
