// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunController.h"
#include "engine/SilentRunView.h"
#include "ui/run/RunWindowServices.h"

namespace trx {

namespace platform {
class cTerminationSignals;
}
class cProject;
struct cRunOptions;

// An unattended run without any window ("/h"): it needs neither a display nor the widget toolkit, only
// the run controller, logind's sleep inhibitor and the action after the run. What the run window would
// say at the end goes to standard error, where a scheduled run's output is collected. SIGINT and SIGTERM
// cancel it like "Abbrechen", and then no action follows.
class cHiddenRun : private cSilentRunView {
public:
    cHiddenRun(cProject& project, const cRunWindowServices& services);

    cRunResult Run(const cRunOptions& options);

private:
    // cRunView: nothing to show, words for standard error, the action after the run.
    void ReportRunRefused(const std::string& message) override;
    void ReportSaveFailure(const std::string& message) override;
    void ReportRunMessage(const std::string& text) override;
    void CarryOutAfterFinishing() override;

    cProject& project_;
    cRunWindowServices services_;
    cRunController controller_;
    const platform::cTerminationSignals* signals_ = nullptr;  // during a run
};

}  // namespace trx
