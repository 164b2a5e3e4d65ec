// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace trx {

class cChunkSizer;

namespace platform {
class Directory;
class FileSystem;
}  // namespace platform

enum class CopyOutcome {
    Copied,
    Failed,
    Cancelled,
    Changed,  // the source changed while it was read: the earlier copy stays, the next run tries again
};

// Bytes moved per kernel copy call where no chunk sizer is given.
inline constexpr std::uint64_t kCopyChunk = 4u << 20;

// Copies the file or link `name` from `sourceDir` into `targetDir` without ever putting a partial copy in
// place of an earlier one: the data goes to a platform::NewVersion of the target (ordinary durability),
// which gets the permission bits (and with `keepTimes` the source's times) and is then put in place.
// Exactly `info.Size` bytes are copied, the size the walk saw. `onChunk` hears the bytes done after every
// chunk before the last; the caller reports the completed file once the copy is in place. `cancelled` is
// asked after every chunk, and a cancel before the last byte drops the temporary file. Never throws.
// Changes while the file is read: a file that shrank, or changed without growing (rewritten in place),
// is dropped (Failed or Changed; the earlier copy stays). A file that only grew (a log being written)
// gets the copy of the length it had, with the times seen before the copy, so the next run copies it
// again.
// `targetAbsent`: the caller saw no entry of that name in the target. The copy is then written into a file
// without a name that gets its name only when complete: one change of the folder instead of three, which
// makes first backups as fast as a plain copy, and a program that dies on the way leaves nothing behind.
// Where the file system cannot do that, or the name was taken in the meantime, the temporary file and the
// rename are used.
// `makeRoom`, when given, is called once the copy is complete and before it takes the target's name: the
// target is a folder (the source's folder became a file) that must go first; false keeps the folder and
// drops the copy. A crash in between leaves the complete copy under its temporary name and the source
// as it is.
// What a copy keeps besides its data: the owner change (kUnchangedId: as made), the extended attributes
// and ACLs (`copyAttributes`; refused ones are no failure), and the holes of a sparse file (`keepHoles`;
// a file is taken as sparse when it takes fewer blocks than its size needs, so dense files pay nothing).
// `dropInheritedAcl`: the target folder hands its default ACL to new files; a copy whose source has no
// ACL of its own drops the inherited one and gets the source's bits.
struct cCopyRequest {
    bool keepTimes = true;
    bool targetAbsent = false;
    std::uint32_t owner = platform::kUnchangedId;
    std::uint32_t group = platform::kUnchangedId;
    bool copyAttributes = false;
    bool dropInheritedAcl = false;
    bool keepHoles = false;
    // Sizes the chunks by the rate seen so far (none: kCopyChunk each).
    cChunkSizer* chunks = nullptr;
    std::function<void(std::uint64_t done)> onChunk;
    std::function<bool()> cancelled;
    std::function<bool()> makeRoom;
};
CopyOutcome CopyEntrySafely(platform::Directory& sourceDir, platform::Directory& targetDir, const std::string& name,
                            const platform::EntryInfo& info, const cCopyRequest& request);

// Gives the copy `partner` in `partnerDir` the further name `name` in `targetDir` (a hard link), in place
// of what has that name there, without a moment in which the name is missing. `targetAbsent` as for
// CopyEntrySafely. Failed where the file system has no hard links: the caller copies instead. `makeRoom`,
// when given, is called as for CopyEntrySafely before the new name replaces an entry.
CopyOutcome LinkEntrySafely(platform::Directory& partnerDir, const std::string& partner,
                            platform::Directory& targetDir, const std::string& name, bool targetAbsent,
                            const std::function<bool()>& makeRoom = {});

}  // namespace trx
