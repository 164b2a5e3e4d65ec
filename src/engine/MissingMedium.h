// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trx {

class cSubDir;

// The rules that tell a medium that is not mounted from a user's deletions. A disk or share that is not
// mounted leaves its mount point as an empty folder (or, for the desktop's mounts, no folder at all); to
// the catalogue comparison that looks as if every file there was deleted.

// Below this many catalogued names, an emptied folder or a batch of deletions is ordinary tidying.
inline constexpr std::uint64_t kManyNames = 10;

// How many names (files and folders) `node` and the nodes of its catalogued folders hold.
std::uint64_t CountNames(const cSubDir& node);

// True when the catalogue knows any name there (every name below a node is reached through one of its own).
bool HoldsNames(const cSubDir& node);

// A folder inside a source lists empty while its catalogue knows `known` names below it. That looks like a
// medium that is not mounted when the folder is a mount point now (an empty medium) or was one when an
// earlier run saw it, or when the catalogue knew many names there.
bool EmptyFolderLooksUnmounted(std::uint64_t known, bool mountPointNow, bool mountPointBefore);

// Deleting `deletions` of the `known` catalogued names of a source looks like a missing medium rather
// than a user's deletions when it is more than half of them, and many.
bool TooManyDeletions(std::uint64_t deletions, std::uint64_t known);

}  // namespace trx
