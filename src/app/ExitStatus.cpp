// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExitStatus.h"

#include "engine/RunController.h"

namespace trx {

int RunExitStatus(const cRunResult& result) {
    if (result.AlreadyRunning) {
        return kExitWithProblems;
    }
    if (!result.Ran || result.Cancelled) {
        return kExitCancelled;
    }
    if (result.ProblemCount > 0 || !result.SaveError.empty()) {
        return kExitWithProblems;
    }
    return kExitCompleted;
}

}  // namespace trx
