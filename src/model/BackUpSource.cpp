// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpSource.h"

#include "model/BackUpDestination.h"
#include "model/Project.h"

namespace trx {

cBackUpSource::cBackUpSource(std::string path, cBackUpDestination& destination)
    : cBackUpDirectory(std::move(path)),
      Destination(&destination),
      Options(&destination.Project().DefaultOptions) {
    Catalogue.Source = this;
    destination.Sources.Add(this);
}

cBackUpSource::~cBackUpSource() {
    Destination->Sources.Remove(this);
    Destination->Project().ReleaseOptions(Options);
}

void cBackUpSource::MoveTo(cBackUpDestination& destination) {
    Destination->Sources.Remove(this);
    Destination = &destination;
    destination.Sources.Add(this);
}

void cBackUpSource::SetOptions(cBackUpOptions* options) {
    cProject& project = Destination->Project();
    project.RetainOptions(options);
    cBackUpOptions* old = Options;
    Options = options;
    project.ReleaseOptions(old);
}

void cBackUpSource::ClearCatalogue() {
    Catalogue.SubDirs.DeleteAll();
    Catalogue.Files.clear();
    TotalSize = 0;
}

}  // namespace trx
