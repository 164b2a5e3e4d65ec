// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trx {

// The directory below a destination that receives a source's files, as a relative path: empty, or names
// each followed by the separator. `transferFlags` is an option set's `TransferFlags` (bit 0 carry names,
// bit 1 carry the drive, bits 2 to 7 the unsigned number of names, 0 = all). A drive-letter path
// ("C:\...") keeps its drive part of three characters, "\" as separator, and the drive as the name "C";
// a path beginning with "/" has "/" as its drive part and separator, and no drive name. Never fails; the
// walk, the catalogue comparison and the options editor's live example call it.
std::string GetTargetSubPath(std::string_view sourcePath, std::uint8_t transferFlags);

}  // namespace trx
