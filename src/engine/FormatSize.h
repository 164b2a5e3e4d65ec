// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TextFormats.h"

#include <cstdint>
#include <string>

namespace trx {

// The size text of the protocol messages: divided by 1024 while at least 1024, at most four times, shown
// with at most one decimal digit (rounded half up) and the user's decimal separator, then the unit:
// "0 Byte", "1023 Byte", "1,5 KB", "3 MB", "2048 TB".
std::string FormatSize(std::uint64_t bytes, const cTextFormats& formats);

}  // namespace trx
