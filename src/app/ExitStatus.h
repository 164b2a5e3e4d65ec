#pragma once

namespace trx {

struct cRunResult;

// The process exit statuses, so that scripts and schedulers see how an unattended run went.
inline constexpr int kExitCompleted = 0;     // run completed without problems; every interactive start
inline constexpr int kExitLoadFailed = 1;    // the project could not be loaded (or no display for a window)
inline constexpr int kExitWithProblems = 2;  // problems during the run, or the project not saved afterwards
inline constexpr int kExitCancelled = 3;     // the run was cancelled (or never started)

// The status of an unattended start after its run.
int RunExitStatus(const cRunResult& result);

}  // namespace trx
