// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trx {

class cBackUpDestination;
class cBackUpSource;

// The five notifications a destination run gives its observer (the run window). An empty hook is skipped.
using TSourceStartHook =
    std::function<void(cBackUpDestination& destination, cBackUpSource* previous, cBackUpSource& current)>;
using TDirEnteredHook = std::function<void(cBackUpDestination& destination, const std::string& relativePath)>;
using TProgressHook = std::function<void(cBackUpDestination& destination, int position, int count)>;
using TFileComparedHook = std::function<void(cBackUpDestination& destination, cBackUpSource& source)>;
// `fileName` is set for the report just before a copy starts and null for the reports after each chunk.
using TFileProgressHook = std::function<void(cBackUpDestination& destination, std::uint64_t done,
                                             std::uint64_t total, const std::string* fileName)>;

}  // namespace trx
