// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ChunkSizer.h"
#include "engine/DestinationAbilities.h"
#include "engine/ProtectedNames.h"
#include "platform/FileTypes.h"

#include <cstdint>
#include <unordered_map>

namespace trx {

class cSubDir;
class cVersionStore;

// What the sources of one destination run share.
struct cDestinationRunState {
    // The destination directory's identity: a source that contains it never walks into it.
    bool DestinationKnown = false;
    std::uint64_t DestinationDevice = 0;
    std::uint64_t DestinationInode = 0;
    // What the destination's file system keeps of a copy, probed once, and who the run is (which owners
    // it may give).
    cDestinationAbilities Abilities;
    platform::ProcessIdentity Identity;
    // The times the walk gave target folders (with original times), by destination-tree node: deletions
    // after the walk change a folder, and it gets them back.
    std::unordered_map<const cSubDir*, std::pair<platform::FileTime, platform::FileTime>> FolderTimes;
    // Catalogue nodes the comparison leaves out with everything below them, each with the destination-tree
    // node of its target folder: folders that could not be listed in this run, folders (or whole sources)
    // whose emptiness looks like a medium that is not mounted, and sources that were not compared. Nothing
    // there is deleted and their names stay.
    std::unordered_map<const cSubDir*, cSubDir*> LeftOut;
    // What one source keeps in a target folder that the comparison of another must not delete.
    cProtectedNames Protected;
    // The destination has more than one source: sources that record nothing in the tree (their deletions
    // are off) record what they see in Protected instead.
    bool SharedTargets = false;
    // The previous run of this project did not end (the program was killed): temporary copies it may
    // have left in the target directories are removed on the way.
    bool StaleCopiesPossible = false;
    // Where replaced and deleted copies go instead of being lost; none when the project keeps no versions
    // and in a preview.
    cVersionStore* Versions = nullptr;
    // The copies into this destination learn its speed together.
    cChunkSizer Chunks;
};

}  // namespace trx
