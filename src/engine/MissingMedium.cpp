// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MissingMedium.h"

#include "model/SubDir.h"

namespace trx {

std::uint64_t CountNames(const cSubDir& node) {
    std::uint64_t count = node.Files.size();
    // Only folders whose names are still catalogued: the node of a deleted folder keeps the names of its
    // files, which stand for nothing anywhere.
    for (const std::string& name : node.Files) {
        for (const cSubDir* child : node.FindChildrenUpper(name)) {
            count += CountNames(*child);
        }
    }
    return count;
}

bool HoldsNames(const cSubDir& node) {
    return !node.Files.empty();
}

bool EmptyFolderLooksUnmounted(std::uint64_t known, bool mountPointNow, bool mountPointBefore) {
    return known > 0 && (mountPointNow || mountPointBefore || known >= kManyNames);
}

bool TooManyDeletions(std::uint64_t deletions, std::uint64_t known) {
    return deletions >= kManyNames && deletions > known / 2;
}

}  // namespace trx
