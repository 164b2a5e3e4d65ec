// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trx::platform {

// A moment in the user's local time zone, with the offset that was in force at that moment.
struct cLocalTime {
    int Year = 1899;
    int Month = 12;  // 1 to 12
    int Day = 30;    // 1 to 31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    long Nanosecond = 0;
};

// Converts a UTC moment (seconds since 1970 and nanoseconds) to local time (localtime_r).
cLocalTime ToLocalTime(std::int64_t seconds, long nanoseconds);

// The current moment in local time.
cLocalTime LocalNow();

// Days since 30 December 1899 with the time of day as fraction (6 o'clock on day 1 is 1.25).
double ToDayNumber(const cLocalTime& time);

// The calendar date of a whole day number (the time of day is midnight).
cLocalTime FromDayNumber(double dayNumber);

}  // namespace trx::platform
