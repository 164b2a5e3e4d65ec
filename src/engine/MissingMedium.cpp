#include "engine/MissingMedium.h"

#include "model/SubDir.h"

namespace trx {

std::uint64_t CountNames(const cSubDir& node) {
    std::uint64_t count = node.Files.size();
    for (const cSubDir* child : node.SubDirs) {
        count += CountNames(*child);
    }
    return count;
}

bool EmptyFolderLooksUnmounted(std::uint64_t known, bool mountPointNow, bool mountPointBefore) {
    return known > 0 && (mountPointNow || mountPointBefore || known >= kManyNames);
}

bool TooManyDeletions(std::uint64_t deletions, std::uint64_t known) {
    return deletions >= kManyNames && deletions > known / 2;
}

}  // namespace trx
