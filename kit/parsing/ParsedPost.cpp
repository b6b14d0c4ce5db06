#include "ParsedPost.h"

#include <QTimeZone>
#include <cmath>

namespace {

// About 300,000 years either way: within what QDateTime holds in milliseconds.
constexpr double kSecondsLimit = 1e13;

} // namespace

std::optional<QDateTime> ParsedPost::dateFromSeconds(std::optional<double> seconds)
{
    if (!seconds || !std::isfinite(*seconds) || std::abs(*seconds) > kSecondsLimit)
        return std::nullopt;
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(std::llround(*seconds * 1000), QTimeZone::utc());
    return date.isValid() ? std::optional<QDateTime>(date) : std::nullopt;
}
