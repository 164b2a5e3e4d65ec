// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Autolist.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/VersionSettings.h"

#include <string>

namespace trx {

// One backup project. The program creates one at start-up and hands it to every window; tests create as
// many as they like.
class cProject {
public:
    cProject() = default;
    cProject(const cProject&) = delete;
    cProject& operator=(const cProject&) = delete;
    ~cProject();

    // A new, unsaved project: no destinations, no path, the default set and the texts as for "Neu".
    void Reset();

    // Reference counting of group sets; the default set is never counted and never destroyed here.
    void RetainOptions(cBackUpOptions* options);
    void ReleaseOptions(cBackUpOptions* options);  // destroys a group set when its last user lets go

    // Declared before Destinations, so that it outlives every source that points to it.
    cBackUpOptions DefaultOptions;
    cAutoList<cBackUpDestination> Destinations;
    std::string Description;
    std::string Comments;  // lines joined with CR LF
    std::string ProjectPath;
    // Kept beside the project file (ProjectExtras); off in a project that never said otherwise.
    cVersionSettings Versions;
};

}  // namespace trx
