// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace trx {

namespace platform {
class Directory;
class FileSystem;
struct EntryInfo;
}  // namespace platform

enum class CopyOutcome { Copied, Failed, Cancelled };

// Bytes moved per kernel copy call: large enough for full speed, small enough that a cancel acts within
// a fraction of a second.
inline constexpr std::uint64_t kCopyChunk = 4u << 20;

// Copies the file or link `name` from `sourceDir` into `targetDir` without ever putting a partial copy in
// place of an earlier one: the data goes to a hidden temporary file beside the target, which gets the
// permission bits (and with `keepTimes` the source's times) and is then renamed over the target name.
// `onChunk` hears the bytes done after every chunk (once with 0 for an empty file); `cancelled` is asked
// after every chunk, and a cancel before the last byte drops the temporary file, as does a file whose size
// changed while it was read. Never throws.
// `targetAbsent`: the caller saw no entry of that name in the target. The copy is then written into a file
// without a name that gets its name only when complete: one change of the folder instead of three, which
// makes first backups as fast as a plain copy, and a program that dies on the way leaves nothing behind.
// Where the file system cannot do that, or the name was taken in the meantime, the temporary file and the
// rename are used.
CopyOutcome CopyEntrySafely(platform::FileSystem& fs, platform::Directory& sourceDir,
                            platform::Directory& targetDir, const std::string& name,
                            const platform::EntryInfo& info, bool keepTimes,
                            const std::function<void(std::uint64_t done)>& onChunk,
                            const std::function<bool()>& cancelled, bool targetAbsent = false);

// A hidden name for the temporary copy of `name`, unlikely to meet a user's file and never longer than a
// file name may be.
std::string TemporaryCopyName(const std::string& name);

// True for a name TemporaryCopyName can give: what a run that was killed during a copy leaves behind.
bool IsTemporaryCopyName(std::string_view name);

}  // namespace trx
