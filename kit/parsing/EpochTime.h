#pragma once

#include <QDateTime>
#include <optional>

// Dates that platforms give as a count of seconds since 1970-01-01 UTC.
namespace EpochTime {

// None for a count that is absent, not finite or far beyond any post's date.
std::optional<QDateTime> fromSeconds(std::optional<double> seconds);

} // namespace EpochTime
