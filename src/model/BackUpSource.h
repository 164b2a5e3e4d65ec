// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/BackUpDirectory.h"
#include "model/SubDir.h"

#include <cstdint>

namespace trx {

class cBackUpDestination;
class cBackUpOptions;

// A source directory whose contents are copied into its destination.
class cBackUpSource : public cBackUpDirectory {
public:
    // Appends the new source to `destination`'s Sources, which owns it from then on. It uses the
    // project's default option set.
    cBackUpSource(std::string path, cBackUpDestination& destination);
    // Leaves the destination's Sources and releases the option set.
    ~cBackUpSource();

    // Moves the source to the end of another destination's Sources; options, catalogue and size stay.
    void MoveTo(cBackUpDestination& destination);

    // Gives the source another option set: the new set is retained before the old one is released, so
    // giving a source the set it already has never destroys that set.
    void SetOptions(cBackUpOptions* options);

    // Forgets what earlier runs saw: the catalogue's children and files go, TotalSize becomes 0.
    void ClearCatalogue();

    cSubDir Catalogue;
    cBackUpDestination* Destination;
    cBackUpOptions* Options;
    std::uint64_t TotalSize = 0;
    std::string TargetSubPath;  // run-time
    bool Failed = false;        // run-time
};

}  // namespace trx
