// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpDestination.h"

#include "model/BackUpSource.h"
#include "model/Project.h"

namespace trx {

cBackUpDestination::cBackUpDestination(cProject& project, std::string path)
    : cBackUpDirectory(std::move(path)), project_(&project) {
    Tree.Destination = this;
    project.Destinations.Add(this);
}

cBackUpDestination::~cBackUpDestination() {
    // The sources leave Sources themselves; the tree goes with this object.
    Sources.DeleteAll();
}

}  // namespace trx
