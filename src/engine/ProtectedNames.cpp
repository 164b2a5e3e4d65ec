// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ProtectedNames.h"

#include "engine/TargetDirectory.h"
#include "model/SubDir.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace trx {

void cProtectedNames::Add(const cSubDir& targetNode, std::string upperName) {
    names_[&targetNode].insert(std::move(upperName));
}

void cProtectedNames::AddPath(cSubDir& treeRoot, std::string_view targetSubPath) {
    cSubDir* node = &treeRoot;
    for (const std::string_view name : platform::PathComponents(targetSubPath)) {
        Add(*node, text::UpperCase(name));
        node = node->GetChild(name);
    }
}

void cProtectedNames::AddCatalogue(cSubDir& targetNode, const cSubDir& catalogueNode) {
    if (!catalogueNode.Files.empty()) {
        auto& names = names_[&targetNode];
        names.insert(catalogueNode.Files.begin(), catalogueNode.Files.end());
    }
    for (const cSubDir* child : catalogueNode.SubDirs) {
        if (IsPlainName(child->Name)) {
            AddCatalogue(*targetNode.GetChild(child->Name), *child);
        }
    }
}

bool cProtectedNames::Contains(const cSubDir& targetNode, const std::string& upperName) const {
    const auto it = names_.find(&targetNode);
    return it != names_.end() && it->second.count(upperName) != 0;
}

}  // namespace trx
