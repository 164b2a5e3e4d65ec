// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PackedTime.h"

#include "platform/LocalTime.h"

namespace trx {

std::uint32_t PackLocalTime(const platform::FileTime& time) {
    const platform::cLocalTime local = platform::ToLocalTime(time.Seconds, time.Nanoseconds);
    if (local.Year < 1980) {
        return (1u << 5 | 1u) << 16;  // 1 January 1980, 00:00:00
    }
    if (local.Year > 2107) {
        return ((127u << 9 | 12u << 5 | 31u) << 16) | (23u << 11 | 59u << 5 | 29u);
    }
    const auto date = static_cast<std::uint32_t>((local.Year - 1980) << 9 | local.Month << 5 | local.Day);
    const auto clock = static_cast<std::uint32_t>(local.Hour << 11 | local.Minute << 5 | local.Second / 2);
    return date << 16 | clock;
}

double PackedToDayNumber(std::uint32_t packed) {
    platform::cLocalTime local;
    const std::uint32_t date = packed >> 16;
    const std::uint32_t clock = packed & 0xFFFF;
    local.Year = static_cast<int>((date >> 9) + 1980);
    local.Month = static_cast<int>((date >> 5) & 0x0F);
    local.Day = static_cast<int>(date & 0x1F);
    local.Hour = static_cast<int>(clock >> 11);
    local.Minute = static_cast<int>((clock >> 5) & 0x3F);
    local.Second = static_cast<int>((clock & 0x1F) * 2);
    return platform::ToDayNumber(local);
}

double LocalDayNumber(const platform::FileTime& time) {
    return platform::ToDayNumber(platform::ToLocalTime(time.Seconds, time.Nanoseconds));
}

}  // namespace trx
