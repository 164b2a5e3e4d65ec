// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace trx {

namespace platform {
class Directory;
class FileSystem;
}  // namespace platform

// What a destination's file system keeps of a file, found out once per run by trying it on a temporary
// file there, so that the walk never asks per file.
struct cDestinationAbilities {
    // The steps in which modification times are kept: 1 ns on ext4, 10 ms or 1 s on exFAT, 2 s on FAT.
    std::int64_t TimeStepNanoseconds = 1;
    // Times may be kept in local time without the offset (FAT, exFAT): after a change to or from
    // daylight-saving time every copy looks one hour off.
    bool LocalTimes = false;
};

// Probes the destination directory `dir`. What cannot be found out keeps the finest assumption.
cDestinationAbilities ProbeDestination(platform::FileSystem& fs, platform::Directory& dir);

}  // namespace trx
