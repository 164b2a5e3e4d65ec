// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Autolist.h"
#include "model/BackUpDirectory.h"
#include "model/Hooks.h"
#include "model/SubDir.h"

namespace trx {

class cBackUpSource;
class cProject;

// A destination directory with the sources copied into it.
class cBackUpDestination : public cBackUpDirectory {
public:
    // Appends the new destination to the project's Destinations, which owns it from then on.
    cBackUpDestination(cProject& project, std::string path);
    // Destroys every source and the tree; the caller takes the destination off Destinations first.
    ~cBackUpDestination();

    cProject& Project() const { return *project_; }

    cSubDir Tree;  // run-time tree of target directories; its file lists are emptied after every run
    // What the last run found out about the destination's file system (time steps, what it keeps), in the
    // engine's words; kept beside the project, so that a preview, which may not try anything out there,
    // decides as the run will.
    std::string Abilities;
    TSourceStartHook OnSourceStart;
    TDirEnteredHook OnDirEntered;
    TProgressHook OnProgress;
    TFileComparedHook OnFileCompared;
    TFileProgressHook OnFileProgress;
    cAutoList<cBackUpSource> Sources;

private:
    cProject* project_;
};

}  // namespace trx
