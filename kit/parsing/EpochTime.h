#pragma once

#include <QDateTime>
#include <optional>

// Dates that platforms give as a count of seconds since 1970-01-01 UTC.
namespace EpochTime {

// None for a count that is absent, not finite or not storable.
std::optional<QDateTime> fromSeconds(std::optional<double> seconds);

// Whether the date falls in the years 0001-9999 UTC, all that the backup
// document shared with the phone can hold: a post with a later date could
// never be written there, and with it no sync.
bool isStorable(const QDateTime &date);

} // namespace EpochTime
