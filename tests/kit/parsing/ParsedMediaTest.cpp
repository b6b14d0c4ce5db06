#include "ParsedMedia.h"
#include "TestHome.h"

#include <limits>

namespace {

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
