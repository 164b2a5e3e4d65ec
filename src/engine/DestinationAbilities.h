// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace trx {

namespace platform {
class Directory;
class FileSystem;
struct ProcessIdentity;
}  // namespace platform

// What a destination's file system keeps of a file, found out once per run by trying it on a temporary
// file there, so that the walk never asks per file.
struct cDestinationAbilities {
    // The steps in which modification times are kept: 1 ns on ext4, 10 ms or 1 s on exFAT, 2 s on FAT.
    std::int64_t TimeStepNanoseconds = 1;
    // Times may be kept in local time without the offset (FAT, exFAT): after a change to or from
    // daylight-saving time every copy looks one hour off.
    bool LocalTimes = false;
    // Permission bits read back as they were set (not on FAT, nor on exFAT, where all read 0777).
    bool KeepsPermissions = true;
    // Owners and groups can be given (FAT and exFAT refuse; an ordinary user may still give groups).
    bool KeepsOwners = true;
    // Extended attributes or POSIX ACLs can be set.
    bool KeepsAttributes = true;
    bool KeepsLinks = true;
    // A file whose length was set beyond its data keeps the rest as a hole.
    bool KeepsHoles = true;
    // Names that differ only in case are one name there (FAT, exFAT, NTFS through some drivers).
    bool FoldsCase = false;
    // Trailing dots or blanks are dropped from names (FAT and exFAT through the kernel's drivers): such a
    // name would land on another one.
    bool DropsTrailingDots = false;
};

// Probes the destination directory `dir` as `identity`. What cannot be found out keeps the assumption of
// a file system like ext4.
cDestinationAbilities ProbeDestination(platform::Directory& dir, const platform::ProcessIdentity& identity);

// The abilities as a line of words ("step=2000000000 local=1 permissions=0 ..."), to be kept with the
// project; AbilitiesFromText reads such a line back, taking the defaults for what it lacks or cannot read.
std::string AbilitiesText(const cDestinationAbilities& abilities);
cDestinationAbilities AbilitiesFromText(const std::string& text);

// What the destination does not keep, as the run's protocol says it once: "" when it keeps everything.
std::string MissingAbilities(const cDestinationAbilities& abilities);

}  // namespace trx
