// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SizeUnits.h"

namespace trx {

cSizeInUnit SplitSize(std::uint64_t bytes) {
    cSizeInUnit result{bytes, 0};
    while (result.Number != 0 && result.Number % 1024 == 0 && result.Unit < kSizeUnitCount - 1) {
        result.Number /= 1024;
        ++result.Unit;
    }
    return result;
}

std::uint64_t JoinSize(std::uint64_t number, int unit) {
    for (int i = 0; i < unit; ++i) {
        number *= 1024;
    }
    return number;
}

}  // namespace trx
