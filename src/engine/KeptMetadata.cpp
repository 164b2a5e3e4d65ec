// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KeptMetadata.h"

#include "engine/DestinationAbilities.h"

#include <algorithm>

namespace trx {

bool IsCopiedAttribute(std::string_view name) {
    static constexpr std::string_view kNotCopied[] = {"security.capability", "security.selinux",
                                                      "security.evm",        "security.ima",
                                                      "system.nfs4_acl",     "system.nfs4acl"};
    return std::find(std::begin(kNotCopied), std::end(kNotCopied), name) == std::end(kNotCopied);
}

bool HasAttribute(const std::vector<platform::ExtendedAttribute>& attributes, std::string_view name) {
    return std::any_of(attributes.begin(), attributes.end(),
                       [&](const platform::ExtendedAttribute& a) { return a.Name == name; });
}

std::uint32_t KeptMode(std::uint32_t mode, platform::FileKind kind) {
    return mode & (kind == platform::FileKind::Directory ? 01777u : 0777u);
}

bool OwnerToGive(const cDestinationAbilities& abilities, const platform::ProcessIdentity& identity,
                 const platform::EntryInfo& source, std::uint32_t ownerNow, std::uint32_t groupNow,
                 cOwnerChange& change) {
    change = {};
    if (!abilities.KeepsOwners) {
        return false;
    }
    const bool root = identity.User == 0;
    if (root && source.Owner != ownerNow) {
        change.Owner = source.Owner;
    }
    const bool member =
        root || source.Group == identity.Group ||
        std::find(identity.Groups.begin(), identity.Groups.end(), source.Group) != identity.Groups.end();
    if (member && source.Group != groupNow) {
        change.Group = source.Group;
    }
    return change.Owner != platform::kUnchangedId || change.Group != platform::kUnchangedId;
}

}  // namespace trx
