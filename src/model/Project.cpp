// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Project.h"

#include "model/BackUpSource.h"

namespace trx {

cProject::~cProject() {
    Destinations.DeleteAll();
}

void cProject::Reset() {
    Destinations.DeleteAll();
    ProjectPath.clear();
    DefaultOptions.ResetToNewProjectDefaults();
    Description.clear();
    Comments.clear();
    Versions = cVersionSettings{};
}

void cProject::RetainOptions(cBackUpOptions* options) {
    if (options != nullptr && options != &DefaultOptions) {
        ++options->RefCount;
    }
}

void cProject::ReleaseOptions(cBackUpOptions* options) {
    if (options != nullptr && options != &DefaultOptions && --options->RefCount <= 0) {
        delete options;
    }
}

}  // namespace trx
