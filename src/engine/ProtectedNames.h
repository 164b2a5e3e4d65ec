// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace trx {

class cSubDir;

// Names in the target folders of a destination that the catalogue comparison must not delete although the
// source being compared no longer has them, because another source of the same destination still has them
// there (it wrote or kept that copy in this run). Keyed by the destination-tree node of the folder, names
// upper-cased like the catalogue's.
class cProtectedNames {
public:
    void Add(const cSubDir& targetNode, std::string upperName);

    // Every component of `targetSubPath` ("a/b/") below `treeRoot`: the folders another source's copies
    // live in.
    void AddPath(cSubDir& treeRoot, std::string_view targetSubPath);

    // Every name of `catalogueNode` and the nodes below it, on `targetNode` and the matching nodes below it:
    // what a source that was not compared in this run keeps in its target folder.
    void AddCatalogue(cSubDir& targetNode, const cSubDir& catalogueNode);

    bool Contains(const cSubDir& targetNode, const std::string& upperName) const;
    bool Empty() const { return names_.empty(); }

private:
    std::unordered_map<const cSubDir*, std::unordered_set<std::string>> names_;
};

}  // namespace trx
