// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <string>
#include <vector>

// The system calls the POSIX file system's objects share: descriptors in, Results out.
namespace trx::platform::posix {

// errno as a Failure (EIO where a call failed without setting it).
Failure LastError();
// A Status from a call's return value (0: success, else errno).
Status Checked(int rc);
// A change of permission bits that the file system does not do (FAT, exFAT, some network shares).
bool IsRefusal(int error);

Status SetTimesOf(int fd, const FileTime& accessed, const FileTime& modified);
Status SetOwnerOf(int fd, std::uint32_t owner, std::uint32_t group);
Result<std::vector<ExtendedAttribute>> ReadAttributesOf(int fd);
Status WriteAttributeOf(int fd, const ExtendedAttribute& attribute);
Status RemoveAttributeOf(int fd, const std::string& name);
// statx of `name` in the directory `fd` (with AT_EMPTY_PATH and "": the file of `fd` itself).
Result<EntryInfo> StatxAt(int fd, const char* name, int flags);
FileKind KindOfMode(unsigned mode);
// Opens a directory relative to `base` (AT_FDCWD: by path); -1 with errno set on failure.
int OpenDirectoryFd(int base, const char* path, bool followLastLink);

}  // namespace trx::platform::posix
