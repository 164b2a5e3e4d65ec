// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace trx {

struct cRunResult;

// The process exit statuses, so that scripts and schedulers see how an unattended run went.
inline constexpr int kExitCompleted = 0;   // run completed without problems; every interactive start
inline constexpr int kExitLoadFailed = 1;  // the project could not be loaded
// an interactive start found no display for the main window; the same status as a failed load, which
// scripts have always seen for it
inline constexpr int kExitNoDisplay = 1;
// problems during the run (held-back deletions among them), the project not saved afterwards, or the run
// refused because another run of the project was under way
inline constexpr int kExitWithProblems = 2;
inline constexpr int kExitCancelled = 3;  // the run was cancelled (or never started)

// The status of an unattended start after its run.
int RunExitStatus(const cRunResult& result);

}  // namespace trx
