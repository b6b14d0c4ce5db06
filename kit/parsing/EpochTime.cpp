#include "EpochTime.h"

#include <cmath>

namespace {

// 0001-01-01T00:00:00Z and 9999-12-31T23:59:59Z.
constexpr qint64 kFirstSecond = -62'135'596'800;
constexpr qint64 kLastSecond = 253'402'300'799;

} // namespace

std::optional<QDateTime> EpochTime::fromSeconds(std::optional<double> seconds)
{
    // Bounded before rounding, so the milliseconds always fit.
    if (!seconds || !std::isfinite(*seconds) || *seconds <= double(kFirstSecond - 1) ||
        *seconds >= double(kLastSecond + 1))
        return std::nullopt;
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(std::llround(*seconds * 1000), Qt::UTC);
    return isStorable(date) ? std::optional(date) : std::nullopt;
}

bool EpochTime::isStorable(const QDateTime &date)
{
    const qint64 second = date.toSecsSinceEpoch();
    return date.isValid() && second >= kFirstSecond && second <= kLastSecond;
}
