#include "Clock.h"

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

void Clock::setSource(std::function<QDateTime()> source_)
{
    source() = std::move(source_);
}
