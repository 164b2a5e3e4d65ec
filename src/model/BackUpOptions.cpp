// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpOptions.h"

namespace trx {

std::uint8_t EncodeTransferFlags(bool dirNames, bool allNames, unsigned level, bool driveName) {
    std::uint8_t flags = dirNames ? kTransferDirNames : 0;
    if (!allNames) {
        flags |= static_cast<std::uint8_t>((level & 0x3F) << 2);
    }
    if (driveName) {
        flags |= kTransferDriveName;
    }
    return flags;
}

cBackUpOptions::cBackUpOptions() : Filters{cFileFilter(false), cFileFilter(true)} {
}

void cBackUpOptions::Assign(const cBackUpOptions& other) {
    Filters[0].Assign(other.Filters[0]);
    Filters[1].Assign(other.Filters[1]);
    SubFolders = other.SubFolders;
    OnlyNewFiles = other.OnlyNewFiles;
    DelDeletedFiles = other.DelDeletedFiles;
    TransferFlags = other.TransferFlags;
    TimeOriginal = other.TimeOriginal;
    Protocol = other.Protocol;
}

void cBackUpOptions::ResetToNewProjectDefaults() {
    Filters[0].Reset();
    Filters[1].Reset();
    SubFolders = true;
    OnlyNewFiles = true;
    DelDeletedFiles = true;
    TransferFlags = 0;
    TimeOriginal = true;
    Protocol = 1;
}

bool cBackUpOptions::SameSettings(const cBackUpOptions& other) const {
    return Filters[0] == other.Filters[0] && Filters[1] == other.Filters[1] &&
           SubFolders == other.SubFolders && OnlyNewFiles == other.OnlyNewFiles &&
           DelDeletedFiles == other.DelDeletedFiles && TransferFlags == other.TransferFlags &&
           TimeOriginal == other.TimeOriginal && Protocol == other.Protocol;
}

}  // namespace trx
