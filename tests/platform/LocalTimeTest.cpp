// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LocalTime.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <ctime>

namespace trx::platform {
namespace {

TEST(LocalTime, DayNumbersCountFrom30December1899) {
    EXPECT_EQ(ToDayNumber({1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_EQ(ToDayNumber({1900, 1, 1, 6, 0, 0, 0}), 2.25);
    EXPECT_EQ(ToDayNumber({2026, 3, 1, 0, 0, 0, 0}), 46082.0);
    const cLocalTime back = FromDayNumber(46082.75);
    EXPECT_EQ(back.Year, 2026);
    EXPECT_EQ(back.Month, 3);
    EXPECT_EQ(back.Day, 1);
    EXPECT_EQ(back.Hour, 0);
}

TEST(LocalTime, UsesTheOffsetInForceAtThatMoment) {
    const char* old = std::getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    // 2026-01-15 12:00 UTC is 13:00 in winter; 2026-07-15 12:00 UTC is 14:00 in summer.
    EXPECT_EQ(ToLocalTime(1768478400, 0).Hour, 13);
    EXPECT_EQ(ToLocalTime(1784116800, 5).Hour, 14);
    EXPECT_EQ(ToLocalTime(1784116800, 5).Nanosecond, 5);
    if (old != nullptr) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
}  // namespace trx::platform
