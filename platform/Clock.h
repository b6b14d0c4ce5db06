#pragma once

#include <QDateTime>
#include <functional>

// The one source of "now" for rules that depend on time (stamps, star times,
// daily copies, undo delays), so tests can set the time instead of sleeping.
class Clock {
public:
    static QDateTime now();
    // The same instant in UTC; without a set source it skips the time zone,
    // which costs a look at the zone files on every call.
    static QDateTime nowUTC();
    // Replaces the time source; an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> source);
};
