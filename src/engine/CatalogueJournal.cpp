// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CatalogueJournal.h"

#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "model/ProjectExtras.h"
#include "platform/FileSystem.h"

namespace trx {

cCatalogueJournal::cCatalogueJournal(platform::FileSystem& fs) : fs_(fs) {}

cCatalogueJournal::~cCatalogueJournal() {
    Close();
}

bool cCatalogueJournal::Open(const std::string& projectPath) {
    Close();
    if (projectPath.empty()) {
        return false;
    }
    auto file = fs_.OpenForAppending(ProjectExtrasPath(projectPath));
    if (!file) {
        return false;
    }
    file_ = std::move(*file);
    // A record an earlier run could not finish must not run into this run's first one.
    static constexpr char kLineEnd = '\n';
    if (!file_->Write(&kLineEnd, 1)) {
        Close();
    }
    return file_ != nullptr;
}

void cCatalogueJournal::Added(const cBackUpSource& source, const cSubDir& node,
                              const std::vector<std::string>& names) {
    if (!file_ || names.empty()) {
        return;
    }
    const std::string record = CatalogueRecord(source.Destination->Path, source.Path, node.GetPath(false), names);
    if (!file_->Write(record.data(), record.size())) {
        Close();  // a journal with a gap would not tell the truth; the run goes on without one
    }
}

void cCatalogueJournal::Close() {
    if (file_) {
        (void)file_->Close();
        file_.reset();
    }
}

}  // namespace trx
