// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trx {

// Something a run did not do because it looked like the work of a missing medium: deleting copies whose
// originals seem gone only because a disk or share is not mounted, or writing into a destination that
// seems to be the bare mount point of a backup disk. It stays undone until the user releases it.
struct cHeldBack {
    enum class Reason {
        SourceEmpty,         // the source folder lists empty while its catalogue knows files
        FolderEmpty,         // a folder inside a source lists empty where a medium seems to be missing
        FolderGone,          // a folder inside a source that a medium was mounted on is gone
        ManyDeletions,       // the deletions would remove most of what the source's catalogue knows
        DestinationMissing,  // the destination was backed up before and is gone now
        DestinationEmpty,    // the destination is empty while the catalogues say copies are there
    };

    Reason Why = Reason::SourceEmpty;
    std::string Path;            // the folder concerned, ending with "/"
    std::uint64_t Entries = 0;   // catalogued names (files and folders) whose copies stay

    // Deletions were held back (rather than the copies into a destination that looked unmounted).
    bool HeldDeletions() const { return Why != Reason::DestinationMissing && Why != Reason::DestinationEmpty; }
};

using cHeldBackList = std::vector<cHeldBack>;

}  // namespace trx
