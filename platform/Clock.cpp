#include "Clock.h"

#include <time.h>

namespace {
std::function<QDateTime()> &source()
{
    static std::function<QDateTime()> current;
    return current;
}
} // namespace

QDateTime Clock::now()
{
    const auto &current = source();
    return current ? current() : QDateTime::currentDateTime();
}

QDateTime Clock::nowUTC()
{
    const auto &current = source();
    return current ? current().toUTC() : QDateTime::currentDateTimeUtc();
}

std::chrono::nanoseconds Clock::continuous()
{
    if (const auto &current = source())
        return std::chrono::milliseconds(current().toMSecsSinceEpoch());
    // The monotonic clock the event loop's timers run on stops during suspend.
    timespec time{};
    clock_gettime(CLOCK_BOOTTIME, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

void Clock::setSource(std::function<QDateTime()> source_)
{
    source() = std::move(source_);
}
