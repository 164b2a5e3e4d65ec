// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <string>
#include <vector>

namespace trx {

namespace platform {
class FileSystem;
}

// One kept version of a path of a destination.
struct cKeptVersion {
    std::string Stamp;   // the run that kept it: "YYYY-MM-DD HH-MM-SS"
    std::string Folder;  // the folder it lies in, ending with "/"
    std::string Name;
    platform::EntryInfo Info;
    std::uint64_t Size = 0;  // of a folder: of everything in it
};

// What the versions folders of the destination `destinationPath` (ending with "/") hold: every path
// relative to the destination that has a kept version, folders with a trailing "/", sorted and unique.
std::vector<std::string> KeptPaths(platform::FileSystem& fs, const std::string& destinationPath);

// The kept versions of `relative` (as KeptPaths gives it), newest first.
std::vector<cKeptVersion> VersionsOf(platform::FileSystem& fs, const std::string& destinationPath,
                                     const std::string& relative);

// Copies `version` (a folder with everything in it) to `name` in `targetFolder`; a file of that name is
// replaced only once the copy is complete, and the version stays where it is. False when anything could
// not be copied.
bool RestoreVersion(platform::FileSystem& fs, const cKeptVersion& version, const std::string& targetFolder,
                    const std::string& name);

}  // namespace trx
