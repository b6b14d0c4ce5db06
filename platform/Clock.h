#pragma once

#include <QDateTime>
#include <chrono>
#include <functional>

// The one source of "now" for rules that depend on time (stamps, star times,
// daily copies, undo delays), so tests can set the time instead of sleeping.
class Clock {
public:
    static QDateTime now();
    // The same instant in UTC; without a set source it skips the time zone,
    // which costs a look at the zone files on every call.
    static QDateTime nowUTC();
    // Time that keeps counting while the computer sleeps and never jumps when
    // the wall clock is set, for delays; only the difference of two readings
    // means anything. With a set source it follows that source, so tests
    // move delays and stamps alike.
    static std::chrono::nanoseconds continuous();
    // Replaces the time source; an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> source);
};
