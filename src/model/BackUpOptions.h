// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FileFilter.h"

#include <cstdint>

namespace trx {

// Bits of the packed transfer byte.
enum : std::uint8_t {
    kTransferDirNames = 0x01,
    kTransferDriveName = 0x02,
};

// Packs the directory-name transfer the way the options editor stores it: `level` 1 to 63 when not all
// names are taken (`allNames` false), nothing in bits 2 to 7 otherwise.
std::uint8_t EncodeTransferFlags(bool dirNames, bool allNames, unsigned level, bool driveName);

// One option set: the two filters and the copy options. Sources share whole sets (an option group).
class cBackUpOptions {
public:
    cBackUpOptions();
    cBackUpOptions(const cBackUpOptions&) = delete;
    cBackUpOptions& operator=(const cBackUpOptions&) = delete;

    // Copies filters and options of `other`; the reference count stays.
    void Assign(const cBackUpOptions& other);

    // The state of a new project's default set.
    void ResetToNewProjectDefaults();

    bool TransferDirNames() const { return (TransferFlags & kTransferDirNames) != 0; }
    bool TransferDriveName() const { return (TransferFlags & kTransferDriveName) != 0; }
    // 1 to 63; 0 means every directory name (read unsigned, so 0xFF is 63, never negative).
    unsigned TransferDirNameLevel() const { return static_cast<unsigned>(TransferFlags) >> 2; }
    bool TransferAllDirNames() const { return TransferDirNameLevel() == 0; }

    bool SameSettings(const cBackUpOptions& other) const;

    cFileFilter Filters[2];  // 0: include ("Dateien einschließen"), 1: exclude ("Dateien ausschließen")
    bool SubFolders = true;
    bool OnlyNewFiles = true;
    bool DelDeletedFiles = true;
    std::uint8_t TransferFlags = 0;
    bool TimeOriginal = true;
    std::int8_t Protocol = 1;   // 0 none, 1 normal, 2 detailed
    std::int32_t RefCount = 0;  // users of a group set; never counted for the project's default set
};

}  // namespace trx
