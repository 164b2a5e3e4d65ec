// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx {

// What the end of a run does besides the outcome's display.
enum class AfterFinishing { None = 0, ShutDown = 1, RunCommand = 2 };

// What happens around one run besides the copying: the command line or the run window choose it, the run
// controller follows it.
struct cRunOptions {
    bool Silent = false;  // no time display after the start, no end-of-run display, the window closes
    AfterFinishing Action = AfterFinishing::None;
    std::string Command;  // the command line of AfterFinishing::RunCommand
    // Deletions and copies that look like the work of a missing medium go ahead (the user saw them held
    // back and confirmed, or asked with "/f"). It applies to the next run only.
    bool ReleaseHeldBack = false;
    // Threads for the file system's calls besides the run's own: -1 as suits the machine, 0 none (every
    // call on the run's thread, as tests compare against).
    int WorkerThreads = -1;
};

}  // namespace trx
