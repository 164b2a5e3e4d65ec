// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

class cBackUpDestination;
class cRunContext;

// Lies in a destination directory while a run of it is under way.
inline constexpr const char* kRunMarkName = ".tresorix-run";

// Backs up one destination: makes sure its directory is there, backs up each source inside an error
// trap, then lets the catalogues delete what disappeared at the sources (only when not cancelled).
class cDestinationRun {
public:
    cDestinationRun(cRunContext& run, cBackUpDestination& destination)
        : run_(run), destination_(destination) {}

    // Never throws for anything that happens inside a source; the outcome is in the protocol, the
    // sources' Failed flags and TotalSize, and the run's problem count.
    void BackUp();

private:
    cRunContext& run_;
    cBackUpDestination& destination_;
};

}  // namespace trx
