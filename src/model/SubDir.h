// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Autolist.h"

#include <cstdint>
#include <memory>
#include <forward_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace trx {

class cBackUpDestination;
class cBackUpSource;

// One directory of a source's file catalogue or of a destination's run-time tree.
class cSubDir {
public:
    cSubDir() = default;
    cSubDir(const cSubDir&) = delete;
    cSubDir& operator=(const cSubDir&) = delete;

    // The node for `relativePath` below this one ("a/b/", "/" as separator), created where missing; an empty
    // path, or an empty component, gives the node it is in. Names compare byte for byte, as Linux folders
    // do: "Data" and "DATA" are two folders with a node each.
    cSubDir* GetChild(std::string_view relativePath);

    // The node's names from below the root down, each followed by "/"; with `withOwner` the owning
    // destination's or source's Path in front.
    std::string GetPath(bool withOwner) const;

    // Empties Files (and Seen) here and in every node below; the nodes stay.
    void ClearFiles();

    // In a destination's tree, for one run: a source saw the upper-cased `name` in this folder. The view
    // points into the source's catalogue, whose names must stay where they are until the comparison after
    // the walk; AddSeenCopy keeps a copy of its own where they may not.
    void AddSeen(std::string_view name) { Seen.push_back(name); }
    void AddSeenCopy(std::string name);

    // The direct child named exactly `name`, or nullptr. Constant time on average: directories with many
    // thousands of sub-directories must not make look-ups quadratic.
    cSubDir* FindChild(std::string_view name) const;

    // The direct children whose upper-cased name is `upperName`: the folders a catalogued name stands for.
    std::vector<cSubDir*> FindChildrenUpper(const std::string& upperName) const;

    // Number of nodes from the root to this one (0 for a root).
    int Depth() const;

    cAutoList<cSubDir> SubDirs;
    std::string Name;
    std::vector<std::string> Files;
    std::vector<std::string_view> Seen;  // run-time, in a destination's tree
    cSubDir* Parent = nullptr;
    // A medium (a disk, a share) was mounted on this folder when a run saw it: should it one day list empty
    // or be gone, that is a medium that is not mounted, not a user's deletion.
    bool MountPoint = false;
    cBackUpDestination* Destination = nullptr;
    cBackUpSource* Source = nullptr;

private:
    cSubDir* AddChild(std::string_view name);

    void RefreshIndex() const;

    std::forward_list<std::string> seenCopies_;

    // Upper-cased child name -> children, only for nodes with many children (a few are searched one by
    // one); rebuilt whenever SubDirs changed behind its back.
    mutable std::unique_ptr<std::unordered_multimap<std::string, cSubDir*>> childIndex_;
    mutable std::uint64_t indexedVersion_ = ~std::uint64_t{0};
};

}  // namespace trx
