// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstdint>

namespace trx {

// A last-write time in local time packed into 32 bits: date in the high half (year - 1980 in bits 9 to 15,
// month, day), time in the low half (hour, minute, seconds / 2). Two moments within the same two-second
// step pack to the same value, which is what the change test compares. Years outside 1980 to 2107 are
// clamped to the ends of that range.
std::uint32_t PackLocalTime(const platform::FileTime& time);

// The packed moment as a local day number (the modification date the filters test).
double PackedToDayNumber(std::uint32_t packed);

// A moment as a local day number at full resolution (the creation date the filters test).
double LocalDayNumber(const platform::FileTime& time);

}  // namespace trx
