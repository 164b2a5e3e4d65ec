// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FormatSize.h"

namespace trx {

std::string FormatSize(std::uint64_t bytes, const cTextFormats& formats) {
    static const char* const kUnits[] = {"Byte", "KB", "MB", "GB", "TB"};
    int divisions = 0;
    while (divisions < 4 && (bytes >> (10 * divisions)) >= 1024) {
        ++divisions;
    }
    // Whole units and the rest, so that the rounding to tenths is exact for every 64-bit count (a double
    // holds only 53 bits).
    const unsigned shift = 10u * static_cast<unsigned>(divisions);
    const std::uint64_t whole = bytes >> shift;
    const std::uint64_t rest = bytes - (whole << shift);
    const std::uint64_t unit = std::uint64_t{1} << shift;
    const std::uint64_t tenths = whole * 10 + (rest * 20 + unit) / (2 * unit);

    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text += formats.DecimalSeparator();
        text += static_cast<char>('0' + tenths % 10);
    }
    text += ' ';
    text += kUnits[divisions];
    return text;
}

}  // namespace trx
