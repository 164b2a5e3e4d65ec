// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubDir.h"

#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace trx {

namespace {
// Below this many children a node is searched one by one: most folders have few sub-folders, and an index
// for each would cost more memory than the names it finds.
constexpr int kIndexedChildren = 8;
}  // namespace

void cSubDir::RefreshIndex() const {
    if (SubDirs.Count() <= kIndexedChildren) {
        childIndex_.reset();
        return;
    }
    if (!childIndex_ || indexedVersion_ != SubDirs.Version()) {
        childIndex_ = std::make_unique<std::unordered_multimap<std::string, cSubDir*>>();
        for (cSubDir* child : SubDirs) {
            childIndex_->emplace(text::UpperCase(child->Name), child);
        }
        indexedVersion_ = SubDirs.Version();
    }
}

cSubDir* cSubDir::FindChild(std::string_view name) const {
    RefreshIndex();
    if (!childIndex_) {
        for (cSubDir* child : SubDirs) {
            if (child->Name == name) {
                return child;
            }
        }
        return nullptr;
    }
    const auto [first, last] = childIndex_->equal_range(text::UpperCase(name));
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
    if (!childIndex_) {
        for (cSubDir* child : SubDirs) {
            if (text::UpperCase(child->Name) == upperName) {
                children.push_back(child);
            }
        }
        return children;
    }
    const auto [first, last] = childIndex_->equal_range(upperName);
    for (auto it = first; it != last; ++it) {
        children.push_back(it->second);
    }
    return children;
}

cSubDir* cSubDir::AddChild(std::string_view name) {
    RefreshIndex();  // up to date before the list changes, so that the new child can join it
    auto* child = new cSubDir;
    child->Name = std::string(name);
    child->Parent = this;
    child->Destination = Destination;
    child->Source = Source;
    SubDirs.Add(child);
    if (childIndex_) {
        childIndex_->emplace(text::UpperCase(name), child);
        indexedVersion_ = SubDirs.Version();
    }
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
