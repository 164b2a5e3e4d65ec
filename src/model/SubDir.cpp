// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubDir.h"

#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace trx {

void cSubDir::RefreshIndex() const {
    if (indexedVersion_ != SubDirs.Version()) {
        childIndex_.clear();
        for (cSubDir* child : SubDirs) {
            childIndex_.emplace(text::UpperCase(child->Name), child);
        }
        indexedVersion_ = SubDirs.Version();
    }
}

cSubDir* cSubDir::FindChild(std::string_view name) const {
    RefreshIndex();
    const auto [first, last] = childIndex_.equal_range(text::UpperCase(name));
    for (auto it = first; it != last; ++it) {
        if (it->second->Name == name) {
            return it->second;
        }
    }
    return nullptr;
}

std::vector<cSubDir*> cSubDir::FindChildrenUpper(const std::string& upperName) const {
    RefreshIndex();
    std::vector<cSubDir*> children;
    const auto [first, last] = childIndex_.equal_range(upperName);
    for (auto it = first; it != last; ++it) {
        children.push_back(it->second);
    }
    return children;
}

cSubDir* cSubDir::AddChild(std::string_view name) {
    RefreshIndex();  // brings the index up to date before the list changes
    auto* child = new cSubDir;
    child->Name = std::string(name);
    child->Parent = this;
    child->Destination = Destination;
    child->Source = Source;
    SubDirs.Add(child);
    childIndex_.emplace(text::UpperCase(name), child);
    indexedVersion_ = SubDirs.Version();
    return child;
}

cSubDir* cSubDir::GetChild(std::string_view relativePath) {
    // An empty component ("a//b", a leading "/") stays at the node it is in, as an empty path does: a node
    // without a name could never be told apart from its parent in a saved catalogue.
    cSubDir* node = this;
    for (const std::string_view name : platform::PathComponents(relativePath)) {
        cSubDir* child = node->FindChild(name);
        node = child != nullptr ? child : node->AddChild(name);
    }
    return node;
}

std::string cSubDir::GetPath(bool withOwner) const {
    std::string path;
    for (const cSubDir* node = this; node->Parent != nullptr; node = node->Parent) {
        path.insert(0, node->Name + "/");
    }
    if (withOwner) {
        if (Destination != nullptr) {
            path.insert(0, Destination->Path);
        } else if (Source != nullptr) {
            path.insert(0, Source->Path);
        }
    }
    return path;
}

void cSubDir::AddSeenCopy(std::string name) {
    seenCopies_.push_front(std::move(name));
    Seen.push_back(seenCopies_.front());
}

void cSubDir::ClearFiles() {
    Files.clear();
    Seen.clear();
    seenCopies_.clear();
    for (cSubDir* child : SubDirs) {
        child->ClearFiles();
    }
}

int cSubDir::Depth() const {
    int depth = 0;
    for (const cSubDir* node = Parent; node != nullptr; node = node->Parent) {
        ++depth;
    }
    return depth;
}

}  // namespace trx
