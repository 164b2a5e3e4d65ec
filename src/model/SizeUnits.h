// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trx {

// Units of a size limit: Byte, KB, MB, GB (factor 1024 each).
inline constexpr int kSizeUnitCount = 4;

struct cSizeInUnit {
    std::uint64_t Number = 0;
    int Unit = 0;  // 0 Byte, 1 KB, 2 MB, 3 GB
};

// Divides by 1024 while the value is non-zero and divisible, at most up to GB: 3145728 gives 3 MB, 1536
// gives 1536 Byte, 0 gives 0 Byte.
cSizeInUnit SplitSize(std::uint64_t bytes);

// Number times the unit's factor.
std::uint64_t JoinSize(std::uint64_t number, int unit);

}  // namespace trx
