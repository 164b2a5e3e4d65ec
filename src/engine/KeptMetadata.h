// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace trx {

struct cDestinationAbilities;

// The POSIX ACLs as extended attributes.
inline constexpr std::string_view kAccessAcl = "system.posix_acl_access";
inline constexpr std::string_view kDefaultAcl = "system.posix_acl_default";

// Extended attributes that travel with a copy: all but privileges (file capabilities, like set-id bits,
// never travel with a backup), security labels of this machine and ACLs of network file systems, which no
// other file system takes.
bool IsCopiedAttribute(std::string_view name);

// True when `attributes` holds one named `name`.
bool HasAttribute(const std::vector<platform::ExtendedAttribute>& attributes, std::string_view name);

// The permission bits a copy keeps of `mode`: no set-id bits; a folder keeps its sticky bit.
std::uint32_t KeptMode(std::uint32_t mode, platform::FileKind kind);

// The owner change that gives a copy now owned by `ownerNow`/`groupNow` the owner and group of `source`,
// as far as the run may: root gives both, an ordinary user only groups it belongs to. kUnchangedId where
// nothing is to change; false when nothing is.
struct cOwnerChange {
    std::uint32_t Owner = platform::kUnchangedId;
    std::uint32_t Group = platform::kUnchangedId;
};
bool OwnerToGive(const cDestinationAbilities& abilities, const platform::ProcessIdentity& identity,
                 const platform::EntryInfo& source, std::uint32_t ownerNow, std::uint32_t groupNow,
                 cOwnerChange& change);

}  // namespace trx
