#include "EpochTime.h"

#include <cmath>

namespace {

// About 31,700 years either side of 1970: every real date, and far inside the
// range where milliseconds still fit a 64-bit integer.
constexpr double kLimit = 1e12;

} // namespace

std::optional<QDateTime> EpochTime::fromSeconds(std::optional<double> seconds)
{
    if (!seconds || !std::isfinite(*seconds) || std::abs(*seconds) > kLimit)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(std::llround(*seconds * 1000), Qt::UTC);
}
