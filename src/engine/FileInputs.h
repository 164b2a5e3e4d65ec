// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trx {

// What the filter tests know about one file. The walk keeps one per directory and refills it for every
// entry, so the two strings keep their storage from file to file.
struct cFileInputs {
    std::string Name;             // as listed, without path, byte for byte
    std::string Extension;        // from the last "." of Name, with the dot, ASCII upper case; "" without dot
    std::uint8_t Attributes = 0;  // the platform's attribute bits
    double ModificationDate = 0;  // local day number, two-second resolution (as the change test sees it)
    double CreationDate = 0;      // local day number, full resolution
    std::uint64_t Size = 0;

    // Sets Name and Extension together. A name holds no "/", so its last dot is the extension's.
    void SetName(std::string_view name);
};

}  // namespace trx
