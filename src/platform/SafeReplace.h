// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace trx::platform {

class FileSystem;

enum class ReplaceFailure { None, Create, Write };

struct ReplaceResult {
    ReplaceFailure failure = ReplaceFailure::None;
    int error = 0;  // errno of the failed step
};

// Replaces the file at `path` with `data` so that at every moment, also after a crash, a power loss or a
// full disk, the path holds either the complete old file or the complete new one (a flushed NewVersion). A link is followed to the file
// it names. The old file's permission bits carry over; a new file gets what the umask leaves of 0666 (0777
// when `executable`). `adjustMode`, when given, turns those bits into the final ones. On failure the
// temporary file is removed.
ReplaceResult ReplaceFileContents(FileSystem& fs, const std::string& path, std::string_view data,
                                  bool executable = false,
                                  const std::function<std::uint32_t(std::uint32_t)>& adjustMode = nullptr);

}  // namespace trx::platform
