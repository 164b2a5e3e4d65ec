// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HiddenRun.h"

#include "engine/RunOptions.h"
#include "model/Project.h"
#include "platform/TerminationSignals.h"
#include "ui/common/ErrorMessage.h"
#include "ui/common/ModelText.h"
#include "ui/common/ProjectMessages.h"
#include "ui/run/AfterRunActions.h"
#include "ui/run/RunWindowServices.h"
#include "ui/run/SleepInhibitor.h"

#include <cstdio>

namespace trx {

namespace {

void ToStandardError(const QString& text) {
    std::fprintf(stderr, "%s\n", WithFullStop(text).toUtf8().constData());
    std::fflush(stderr);
}

}  // namespace

cHiddenRun::cHiddenRun(cProject& project, const cRunWindowServices& services)
    : project_(project), services_(services), controller_(project, *this, services.Fs, services.Formats) {}

cRunResult cHiddenRun::Run(const cRunOptions& options) {
    cRunOptions silent = options;
    silent.Silent = true;
    controller_.SetOptions(silent);
    controller_.PrepareTotals(1, 1);
    platform::cTerminationSignals terminationSignals(controller_.CancelFlag());
    signals_ = &terminationSignals;
    // Sleep would stall the copies halfway; a refused request does not stop the run.
    services_.SleepInhibitor.Acquire(QStringLiteral("Ein Sicherungsvorgang kopiert gerade Dateien."));
    const cRunResult result = controller_.Run();
    services_.SleepInhibitor.Release();
    signals_ = nullptr;
    return result;
}

void cHiddenRun::ReportRunRefused(const std::string& message) {
    ToStandardError(FromModel(message));
}

void cHiddenRun::ReportSaveFailure(const std::string& message) {
    ToStandardError(ProjectSaveFailure(FromModel(project_.ProjectPath), FromModel(message)));
}

void cHiddenRun::ReportRunMessage(const std::string& text) {
    ToStandardError(FromModel(text));
}

void cHiddenRun::CarryOutAfterFinishing() {
    // The copying is over; a shutdown or a command may well want to sleep.
    services_.SleepInhibitor.Release();
    // Asked to terminate: no shutdown and no command, the program just ends. "Abbrechen" is no signal.
    if (signals_ == nullptr || !signals_->Received()) {
        CarryOutAfterRun(controller_.Options(), services_.Shutdown, services_.Launcher);
    }
}

}  // namespace trx
