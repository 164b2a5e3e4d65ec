// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace trx {

// The copies one walk made, or found up to date, of files that have more than one name at the source, so
// that every further name of such a file becomes a further name of its copy instead of a copy of its own.
class cHardLinks {
public:
    struct cCopy {
        std::string Folder;  // the target folder's path, with its trailing "/"
        std::string Name;
        std::uint64_t Device = 0;  // the copy's identity
        std::uint64_t Inode = 0;
    };

    // Only regular files with further names are remembered: nothing is kept for all the others.
    static bool HasPartners(const platform::EntryInfo& source) {
        return source.Kind == platform::FileKind::Regular && source.Links > 1;
    }

    // The copy of another name of `source`, or null.
    const cCopy* Find(const platform::EntryInfo& source) const;
    void Remember(const platform::EntryInfo& source, cCopy copy);

private:
    struct cKeyHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& key) const {
            return std::hash<std::uint64_t>()(key.first * 0x9e3779b97f4a7c15ull ^ key.second);
        }
    };
    std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, cCopy, cKeyHash> copies_;
};

}  // namespace trx
