// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trx::platform {

// The longest path Linux hands to a system call (PATH_MAX); nothing deeper can be a real directory tree.
inline constexpr std::size_t kMaxPathLength = 4096;

enum class FileKind { None, Regular, Directory, SymLink, Other };

struct FileStatus {
    FileKind Kind = FileKind::None;
    std::uint32_t Mode = 0;  // permission bits only
    std::uint64_t Size = 0;
};

// A moment as the file system keeps it (UTC).
struct FileTime {
    std::int64_t Seconds = 0;
    long Nanoseconds = 0;
};

// One name of a directory listing. Only regular files, directories and links are ever listed.
struct ListedEntry {
    std::string Name;
    FileKind Kind = FileKind::None;
};

// What a stat of one entry gives (never following a link).
struct EntryInfo {
    FileKind Kind = FileKind::None;
    std::uint32_t Mode = 0;  // permission bits only
    std::uint64_t Size = 0;  // for a link: the length of its target text
    FileTime Modified;
    FileTime Accessed;
    FileTime Created;  // the birth time where the file system records it, else the modification time
    FileTime Changed;  // the last change of contents or attributes (ctime); no program can set it back
    std::uint64_t Device = 0;  // with Inode: the identity of the entry on this machine
    std::uint64_t Inode = 0;
    std::uint32_t Owner = 0;
    std::uint32_t Group = 0;
    std::uint32_t Links = 1;   // names of the inode (hard links)
    std::uint64_t Blocks = 0;  // 512-byte units the data takes on disk: fewer than the size means holes
};

// An owner or group that a change of owners leaves as it is.
inline constexpr std::uint32_t kUnchangedId = ~std::uint32_t{0};

// A stretch of a file's data, [Start, End): what lies between stretches is a hole.
struct DataStretch {
    std::uint64_t Start = 0;
    std::uint64_t End = 0;
};

// One extended attribute; POSIX ACLs are the attributes "system.posix_acl_access" and "..._default".
struct ExtendedAttribute {
    std::string Name;
    std::string Value;
};

// Who the program runs as: the owner and group its new files get (where no folder says otherwise) and
// every group it belongs to.
struct ProcessIdentity {
    std::uint32_t User = 0;
    std::uint32_t Group = 0;
    std::vector<std::uint32_t> Groups;
};

// Attribute bits as the filters and the walk know them.
inline constexpr std::uint8_t kAttributeReadOnly = 0x01;
inline constexpr std::uint8_t kAttributeHidden = 0x02;
inline constexpr std::uint8_t kAttributeDirectory = 0x10;
inline constexpr std::uint8_t kAttributeArchive = 0x20;

// Read-only when the owner may not write, hidden when the name starts with ".", archive on every file
// and link; nothing is ever a system file.
std::uint8_t AttributesOf(const std::string& name, FileKind kind, std::uint32_t mode);

}  // namespace trx::platform
