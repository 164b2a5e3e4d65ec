// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/HeldBack.h"

#include <cstdint>
#include <memory>
#include <string>

namespace trx {

namespace platform {
class Directory;
class FileLock;
}  // namespace platform
class cBackUpDestination;
class cBackUpSource;
class cRunContext;
class cVersionStore;
struct cDestinationRunState;

// Backs up one destination: makes sure its directory is there, backs up each source inside an error
// trap, then lets the catalogues delete what disappeared at the sources (only when not cancelled).
// A destination that was backed up before and is now missing or empty is the mount point of a disk that
// is not mounted: nothing is created or copied there until the user releases it.
class cDestinationRun {
public:
    cDestinationRun(cRunContext& run, cBackUpDestination& destination)
        : run_(run), destination_(destination) {}

    // Never throws for anything that happens inside a source; the outcome is in the protocol, the
    // sources' Failed flags and TotalSize, and the run's problem count and held-back list.
    void BackUp();

private:
    // The destination directory, created (one level) when it is missing and was never backed up. `proceed`
    // is false when the run must not go on there (reported); a preview goes on without the folder where
    // the run would make it.
    std::unique_ptr<platform::Directory> OpenDestination(bool backedUpBefore, bool& proceed);
    bool IsDirectoryOrMissing(const std::string& path);
    // Keeps two runs from writing into one destination at once; false when another holds it (reported).
    bool LockDestination(platform::Directory& dir, std::unique_ptr<platform::FileLock>& lock);
    // `dir` is null in a preview of a destination the run would make.
    void PrepareState(platform::Directory* dir, cDestinationRunState& state);
    // The store of earlier versions for this run of the destination `dir`; none when the project keeps
    // none, in a preview, or without the destination.
    std::unique_ptr<cVersionStore> OpenVersions(platform::Directory* dir);
    void BackUpSources(cDestinationRunState& state);
    // The catalogue comparison of every source that was walked, after all of them.
    void CompareCatalogues(cDestinationRunState& state, platform::Directory& dir);
    void HoldBack(cHeldBack::Reason why, const std::string& path, std::uint64_t entries,
                  const std::string& message);
    // The decisions that follow belong to `source` (its comparison after the walk).
    void BeginPlanGroup(const cBackUpSource& source, const std::string& targetSubPath);

    cRunContext& run_;
    cBackUpDestination& destination_;
};

}  // namespace trx
