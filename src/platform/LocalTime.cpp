// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalTime.h"

#include <cmath>
#include <ctime>

namespace trx::platform {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

// 30 December 1899 counted from 1 January 1970.
constexpr std::int64_t kDayZero = -25569;

}  // namespace

cLocalTime ToLocalTime(std::int64_t seconds, long nanoseconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    cLocalTime local;
    local.Year = tm.tm_year + 1900;
    local.Month = tm.tm_mon + 1;
    local.Day = tm.tm_mday;
    local.Hour = tm.tm_hour;
    local.Minute = tm.tm_min;
    local.Second = tm.tm_sec > 59 ? 59 : tm.tm_sec;  // a leap second stays within its minute
    local.Nanosecond = nanoseconds;
    return local;
}

cLocalTime LocalNow() {
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return ToLocalTime(now.tv_sec, now.tv_nsec);
}

double ToDayNumber(const cLocalTime& time) {
    const std::int64_t days =
        DaysFromCivil(time.Year, static_cast<unsigned>(time.Month), static_cast<unsigned>(time.Day)) -
        kDayZero;
    const double seconds = time.Hour * 3600.0 + time.Minute * 60.0 + time.Second + time.Nanosecond / 1e9;
    return static_cast<double>(days) + seconds / 86400.0;
}

cLocalTime FromDayNumber(double dayNumber) {
    cLocalTime local;
    CivilFromDays(static_cast<std::int64_t>(std::floor(dayNumber)) + kDayZero, local.Year, local.Month,
                  local.Day);
    return local;
}

}  // namespace trx::platform
