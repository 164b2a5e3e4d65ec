// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/VersionSettings.h"
#include "platform/LocalTime.h"

#include <string>
#include <unordered_map>

namespace trx {

namespace platform {
class Directory;
}
class cRunContext;

// Removes what a versions folder keeps beyond the project's limits, at the end of a run that went well.
class cVersionPruner {
public:
    cVersionPruner(cRunContext& run, const cVersionSettings& settings, const platform::cLocalTime& now);

    // Removes the run folders of `folderPath` (a versions folder, ending with "/") that are older than the
    // day limit, and with a largest count the oldest versions of each path beyond it; folders left empty
    // go too. Entries whose names are not run folders are left alone.
    void Prune(const std::string& folderPath);

private:
    // Counts the versions in `dir` (the folder `relative` of one run folder, newer runs counted before)
    // and removes those beyond the largest count. True when `dir` is empty afterwards.
    bool PruneByCount(platform::Directory& dir, const std::string& relative);
    bool RemoveTree(platform::Directory& parent, const std::string& name, bool folder);

    cRunContext& run_;
    cVersionSettings settings_;
    double oldestKept_;  // day number: a run folder started before it is past the day limit
    std::unordered_map<std::string, int> seen_;
};

}  // namespace trx
